#pragma once

#include <QColor>
#include <QToolButton>

#include <functional>

// A button that shows a colour as its icon (a swatch under an optional
// picture) and opens the colour dialog when clicked.
class DispColorSelectButton : public QToolButton
{
    Q_OBJECT

public:
    // Asks the user for a colour starting at current; an invalid colour
    // means cancelled. Replaceable so that tests need no modal dialog.
    using ColorDialog = std::function<QColor(const QColor& current, bool alphaAllowed)>;

    DispColorSelectButton(const QString& iconPath, const QColor& color, QWidget* parent = nullptr);

    // Sets the colour and redraws the icon; colorChanged is not emitted.
    void setColor(const QColor& color);
    QColor color() const { return m_color; }
    void setAlphaAllowed(bool allowed) { m_alphaAllowed = allowed; }
    bool alphaAllowed() const { return m_alphaAllowed; }

    // The icon: 50 x 80, the picture's (0, 0, 42, 43) at (4, 0) and the
    // colour in rows 60 to 79; without a picture all of it is the colour.
    QPixmap iconPixmap() const;

    static void setColorDialog(ColorDialog dialog);

signals:
    void colorChanged(QColor color);

public slots:
    void buttonTriggered();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void drawIcon();

    QString m_iconPath;
    QColor m_color;
    bool m_alphaAllowed = false;
};
