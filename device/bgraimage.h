#pragma once

#include <QByteArray>

#include <memory>

// A read-only picture of 32-bit pixels laid out B, G, R, A in memory, that
// keeps its storage alive. The device link takes pictures in this form so the
// library stays free of the GUI modules; a QImage converts without copying its
// pixels (fromImage is a template, instantiated only by callers that have
// QtGui).
class BgraImage
{
public:
    BgraImage() = default;
    BgraImage(std::shared_ptr<const void> owner, const uchar* bits, int width, int height, int bytesPerLine,
              qint64 contentKey = 0)
        : m_owner(std::move(owner)), m_bits(bits), m_width(width), m_height(height),
          m_bytesPerLine(bytesPerLine), m_contentKey(contentKey)
    {
    }

    // bytes holds height rows of bytesPerLine bytes each; anything shorter
    // gives a null picture.
    static BgraImage fromBytes(const QByteArray& bytes, int width, int height, int bytesPerLine)
    {
        if (width <= 0 || height <= 0 || bytesPerLine < width * 4 ||
            qint64(bytes.size()) < qint64(bytesPerLine) * height) {
            return {};
        }
        auto owner = std::make_shared<const QByteArray>(bytes);
        return {owner, reinterpret_cast<const uchar*>(owner->constData()), width, height, bytesPerLine};
    }

    // Image is QImage. ARGB32, premultiplied ARGB32 and RGB32 are BGRA in
    // memory on little-endian machines and are shared as they are; other
    // formats are converted to ARGB32 first. The image's cache key becomes
    // the content key: the same key again means the same pixels again.
    template <typename Image>
    static BgraImage fromImage(const Image& image)
    {
        if (image.isNull()) {
            return {};
        }
        const auto format = image.format();
        const bool bgra = format == Image::Format_ARGB32 || format == Image::Format_ARGB32_Premultiplied ||
                          format == Image::Format_RGB32;
        auto owner =
            std::make_shared<const Image>(bgra ? image : image.convertToFormat(Image::Format_ARGB32));
        return {owner,           owner->constBits(),         owner->width(),
                owner->height(), int(owner->bytesPerLine()), bgra ? image.cacheKey() : 0};
    }

    bool isNull() const { return m_bits == nullptr; }
    const uchar* constBits() const { return m_bits; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    int bytesPerLine() const { return m_bytesPerLine; }
    // Equal non-zero keys promise equal pixels; 0 promises nothing.
    qint64 contentKey() const { return m_contentKey; }

private:
    std::shared_ptr<const void> m_owner;
    const uchar* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_bytesPerLine = 0;
    qint64 m_contentKey = 0;
};
