#include "dispfontselectbutton.h"

#include "panelslog.h"

#include <QFontDialog>
#include <QPainter>
#include <QResizeEvent>

namespace {

bool askFont(QFont& font)
{
    bool accepted = false;
    const QFont chosen = QFontDialog::getFont(&accepted, font, nullptr, QString());
    if (accepted) {
        font = chosen;
    }
    return accepted;
}

DispFontSelectButton::FontDialog& fontDialog()
{
    static DispFontSelectButton::FontDialog dialog = askFont;
    return dialog;
}

} // namespace

DispFontSelectButton::DispFontSelectButton(QWidget* parent) : QToolButton(parent)
{
    setMinimumSize(150, 10);
    setAutoFillBackground(true);
    drawIcon();
    connect(this, &QToolButton::clicked, this, &DispFontSelectButton::buttonTriggered);
}

void DispFontSelectButton::setFontDialog(FontDialog dialog)
{
    fontDialog() = dialog ? std::move(dialog) : FontDialog(askFont);
}

void DispFontSelectButton::setFont(const QFont& font)
{
    m_font = font;
    if (m_font.pointSize() != -1) {
        m_font.setPixelSize(int(m_font.pointSize() * devicePixelRatioF()));
    }
    drawIcon();
}

QPixmap DispFontSelectButton::iconPixmap() const
{
    QPixmap pixmap(160, 30);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const QRect familyBox(0, 0, 123, 30);
    const QRect sizeBox(125, 0, 36, 30);
    painter.fillRect(familyBox, QColor(0x0D0D0D));
    painter.fillRect(sizeBox, QColor(0x0D0D0D));
    painter.setPen(Qt::white);
    painter.setFont(QFont(QStringLiteral("Arial"), 10));
    const int size = m_font.pointSize() != -1 ? m_font.pointSize() : m_font.pixelSize();
    painter.drawText(familyBox, Qt::AlignCenter, m_font.family());
    painter.drawText(sizeBox, Qt::AlignCenter, QString::number(size));
    return pixmap;
}

void DispFontSelectButton::drawIcon()
{
    setIcon(QIcon(iconPixmap()));
}

void DispFontSelectButton::resizeEvent(QResizeEvent* event)
{
    QToolButton::resizeEvent(event);
    setIconSize(event->size() - QSize(4, 4));
}

void DispFontSelectButton::buttonTriggered()
{
    QFont font = m_font;
    // The widgets use pixels; the user sees that number as points.
    if (font.pixelSize() != -1) {
        font.setPointSize(font.pixelSize());
    }
    if (!fontDialog()(font)) {
        return;
    }
    m_font = font;
    drawIcon();
    qCDebug(lcPanels).noquote() << "get new font:" << m_font.family() << m_font.pointSize();
    emit fontChanged(m_font);
}
