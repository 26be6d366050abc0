#pragma once

#include "itemlistpanel.h"

class DispColorSelectButton;
class DispFontSelectButton;
class DispTextWidget;
class QComboBox;
class OpacityRow;
class QPlainTextEdit;

// The "Custom Text" panel: up to five free text items (DispTextWidget) on
// the scene, each with its text, colour, font, transparency and effect;
// theme record 129.
class dispcustomtextbox : public ItemListPanel
{
    Q_OBJECT

public:
    static constexpr int kMaxItems = 5;
    static constexpr int kMaxTextLength = 4096;

    explicit dispcustomtextbox(QWidget* parent = nullptr);

    void writeThemeRecord(QDataStream& out, const QString& resourceFolder) override;
    void readThemeRecord(ThemeRecordReader& in, const QString& themeFolder) override;

    DispTextWidget* currentText();
    QPlainTextEdit* textEdit() const { return m_textEdit; }
    QComboBox* effectBox() const { return m_effectBox; }

public slots:
    // Shows the current item's attributes in the controls.
    void updateAttribute();
    void createNewCustomTextBox();
    void customTextButtonsSlot();

protected:
    QGraphicsItem* createItem(DispScene* scene) override;
    void fillControls(QGraphicsItem* item) override;
    void applyColor(QGraphicsItem* item, const QColor& color) override;
    void applyFont(QGraphicsItem* item, const QFont& font) override;

private:
    QPlainTextEdit* m_textEdit = nullptr;
    QComboBox* m_effectBox = nullptr;
};
