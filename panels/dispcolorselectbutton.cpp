#include "dispcolorselectbutton.h"

#include <QColorDialog>
#include <QPainter>
#include <QResizeEvent>

namespace {

QColor askColor(const QColor& current, bool alphaAllowed)
{
    return QColorDialog::getColor(current, nullptr, DispColorSelectButton::tr("color"),
                                  alphaAllowed ? QColorDialog::ShowAlphaChannel
                                               : QColorDialog::ColorDialogOptions());
}

DispColorSelectButton::ColorDialog& colorDialog()
{
    static DispColorSelectButton::ColorDialog dialog = askColor;
    return dialog;
}

} // namespace

DispColorSelectButton::DispColorSelectButton(const QString& iconPath, const QColor& color, QWidget* parent)
    : QToolButton(parent), m_iconPath(iconPath), m_color(color)
{
    setMinimumSize(10, 10);
    setAutoFillBackground(true);
    drawIcon();
    connect(this, &QToolButton::clicked, this, &DispColorSelectButton::buttonTriggered);
}

void DispColorSelectButton::setColorDialog(ColorDialog dialog)
{
    colorDialog() = dialog ? std::move(dialog) : ColorDialog(askColor);
}

void DispColorSelectButton::setColor(const QColor& color)
{
    m_color = color;
    drawIcon();
}

QPixmap DispColorSelectButton::iconPixmap() const
{
    QPixmap pixmap(50, 80);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    if (m_iconPath.isEmpty()) {
        painter.fillRect(pixmap.rect(), m_color);
    } else {
        painter.drawPixmap(QRect(4, 0, 42, 43), QPixmap(m_iconPath), QRect(0, 0, 42, 43));
        painter.fillRect(QRect(0, 60, 50, 20), m_color);
    }
    return pixmap;
}

void DispColorSelectButton::drawIcon()
{
    setIcon(QIcon(iconPixmap()));
}

void DispColorSelectButton::resizeEvent(QResizeEvent* event)
{
    QToolButton::resizeEvent(event);
    setIconSize(event->size() - QSize(4, 4));
}

void DispColorSelectButton::buttonTriggered()
{
    const QColor chosen = colorDialog()(m_color, m_alphaAllowed);
    if (!chosen.isValid()) {
        return;
    }
    setColor(chosen);
    emit colorChanged(chosen);
}
