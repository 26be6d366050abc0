#include "dispiconbox.h"

#include "dispimagewidget.h"
#include "dispscene.h"
#include "dispvideodecoder.h"
#include "opacityrow.h"
#include "panelslog.h"
#include "thememedia.h"
#include "themerecordreader.h"
#include "themetags.h"

#include <QDataStream>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

// Name, position, size, opacity and a file name at the least.
constexpr int kMinItemBytes = 4 + 16 + 8 + 8 + 4;

bool saneSize(const QSize& size)
{
    return size.width() > 0 && size.height() > 0 && size.width() <= DispVideoDecoder::kMaxSide &&
           size.height() <= DispVideoDecoder::kMaxSide;
}

} // namespace

dispiconbox::dispiconbox(QWidget* parent) : ItemListPanel(IconTag, IconStore, kMaxItems, parent)
{
    setupList(tr("ICO Display"), QStringLiteral("ICO"), QStringLiteral(":/images/home/bg_picture.png"));

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(new QLabel(tr("Path:"), this));
    m_pathEdit = new QLineEdit(this);
    m_pathEdit->setObjectName(QStringLiteral("iconPathEdit"));
    m_pathEdit->setReadOnly(true);
    m_pathEdit->setFixedSize(170, 28);
    pathRow->addWidget(m_pathEdit);
    m_browseButton = new QToolButton(this);
    m_browseButton->setText(QStringLiteral("..."));
    pathRow->addWidget(m_browseButton);
    pathRow->addStretch();
    controlsLayout()->addLayout(pathRow);
    m_opacity = new OpacityRow(this);
    controlsLayout()->addWidget(m_opacity);

    connect(addButton(), &QPushButton::clicked, this, &dispiconbox::createNewItemBox);
    connect(m_browseButton, &QToolButton::clicked, this, &dispiconbox::chooseFile);
    connect(m_opacity, &OpacityRow::opacityChanged, this, [this](double opacity) {
        if (DispImageWidget* icon = currentIcon()) {
            icon->setOpacity(opacity);
            edited();
        }
    });
}

DispImageWidget* dispiconbox::currentIcon()
{
    QGraphicsItem* item = currentItem();
    return item != nullptr ? qobject_cast<DispImageWidget*>(item->toGraphicsObject()) : nullptr;
}

void dispiconbox::createNewItemBox()
{
    addItem();
}

void dispiconbox::updateAttribute()
{
    if (QGraphicsItem* item = currentItem()) {
        fillControls(item);
    }
}

QGraphicsItem* dispiconbox::createItem(DispScene* scene)
{
    return scene->addImageWidget(QStringLiteral("_ico_%1").arg(m_nextName++), QPointF(0, 0));
}

void dispiconbox::fillControls(QGraphicsItem* item)
{
    auto* icon = qobject_cast<DispImageWidget*>(item->toGraphicsObject());
    if (icon == nullptr) {
        return;
    }
    m_pathEdit->setText(icon->mediaPath());
    m_opacity->showOpacity(icon->opacity());
}

void dispiconbox::controlsCleared()
{
    m_pathEdit->clear();
}

void dispiconbox::chooseFile()
{
    const QString path = QFileDialog::getOpenFileName(nullptr, tr("Open Image"), m_lastFolder,
                                                      tr("Image/Video Files (*.png *.jpg *.bmp *.gif)"));
    if (!path.isEmpty()) {
        m_lastFolder = QFileInfo(path).absolutePath();
    }
    setMediaFile(path);
}

void dispiconbox::setMediaFile(const QString& path)
{
    DispImageWidget* icon = currentIcon();
    if (path.isEmpty() || icon == nullptr) {
        return;
    }
    m_pathEdit->setText(path);
    QSize natural = QImageReader(path).size();
    icon->setMediaPath(path, true);
    if (!saneSize(natural)) {
        // Videos and pictures Qt cannot read: the decoder knows their size.
        const DispVideoDecoder::MediaInfo info = icon->decoder()->mediaInfo();
        natural = info.valid ? QSize(info.width, info.height) : icon->imageSize();
    }
    icon->setImageGeometry(QRectF(QPointF(0, 0), QSizeF(natural)));
    edited();
}

void dispiconbox::showAllChanged(bool shown)
{
    if (scene() == nullptr) {
        return;
    }
    for (DispWidget* widget : scene()->iconWidgets()) {
        if (widget != nullptr && !widget->objectName().contains(QLatin1String("background"))) {
            widget->setVisible(shown);
        }
    }
}

void dispiconbox::removeItemWidgets(QGraphicsItem* item)
{
    if (auto* icon = qobject_cast<DispImageWidget*>(item->toGraphicsObject())) {
        icon->stopDecoder();
    }
    ItemListPanel::removeItemWidgets(item);
}

void dispiconbox::stopMedia()
{
    if (scene() == nullptr) {
        return;
    }
    for (DispWidget* widget : scene()->iconWidgets()) {
        if (widget != nullptr) {
            qCDebug(lcPanels) << "dispiconbox::clearThread";
            widget->stopDecoder();
        }
    }
}

void dispiconbox::writeThemeRecord(QDataStream& out, const QString& resourceFolder)
{
    const QList<QGraphicsItem*> all = items();
    out << showAll() << qint32(all.size());
    for (QGraphicsItem* item : all) {
        auto* icon = qobject_cast<DispImageWidget*>(item->toGraphicsObject());
        const QString media = icon->mediaPath();
        const QString fileName = QFileInfo(media).fileName();
        out << icon->objectName() << icon->pos() << icon->imageSize() << icon->opacity() << fileName;
        if (media.isEmpty() || resourceFolder.isEmpty()) {
            continue;
        }
        const QFileInfo target(resourceFolder + QLatin1Char('/') + fileName);
        if (target.exists() && target.canonicalFilePath() == QFileInfo(media).canonicalFilePath()) {
            continue; // already in this theme: never copied onto itself
        }
        icon->closeMedia();
        ThemeMedia::storeInResources(media, resourceFolder);
        icon->setMediaPath(media, false);
    }
}

void dispiconbox::readThemeRecord(ThemeRecordReader& in, const QString& themeFolder)
{
    bool shown = false;
    qint32 count = 0;
    if (!readHeader(in, shown, count, kMinItemBytes)) {
        return;
    }
    for (qint32 i = 0; i < count; ++i) {
        QString name;
        QPointF position;
        QSize size;
        double opacity = 1;
        QString fileName;
        if (!in.readString(name) || !in.readPointF(position) || !in.readSize(size) ||
            !in.readDouble(opacity) || !in.readString(fileName)) {
            break;
        }
        if (!roomForRecordItem()) {
            continue;
        }
        QGraphicsItem* item = addItem();
        auto* icon = item != nullptr ? qobject_cast<DispImageWidget*>(item->toGraphicsObject()) : nullptr;
        if (icon == nullptr) {
            break;
        }
        const QString path = ThemeMedia::resourcePath(themeFolder, fileName);
        qCDebug(lcPanels).noquote() << "load: " << path;
        if (saneName(name, QStringLiteral("image_ico"))) {
            icon->setObjectName(name);
        } else {
            qCWarning(lcPanels).noquote() << "dispiconbox: name refused:" << name.left(64);
        }
        if (sanePosition(position)) {
            icon->setPos(position);
        }
        if (saneSize(size)) {
            icon->setImageGeometry(QRectF(QPointF(0, 0), QSizeF(size)));
        }
        if (!path.isEmpty()) {
            icon->setMediaPath(path, true);
        }
        icon->setOpacity(saneOpacity(opacity));
    }
    finishRead(shown);
}
