#pragma once

#include <QFont>
#include <QToolButton>

#include <functional>

// A button that shows a font's family and size and opens the font dialog
// when clicked.
class DispFontSelectButton : public QToolButton
{
    Q_OBJECT

public:
    // Asks the user for a font starting at current; false when cancelled.
    // Replaceable so that tests need no modal dialog.
    using FontDialog = std::function<bool(QFont& font)>;

    explicit DispFontSelectButton(QWidget* parent = nullptr);

    // Stores the font; a point size becomes a pixel size of the same number
    // (times the device pixel ratio), as the display widgets use it.
    void setFont(const QFont& font);
    QFont font() const { return m_font; }

    // The icon: 160 x 30, the family in (0, 0, 123, 30) and the size in
    // (125, 0, 36, 30), white on #0d0d0d.
    QPixmap iconPixmap() const;

    static void setFontDialog(FontDialog dialog);

signals:
    void fontChanged(QFont font);

public slots:
    void buttonTriggered();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void drawIcon();

    QFont m_font;
};
