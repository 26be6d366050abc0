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
    DispColorSelectButton* colorButton() const { return m_colorButton; }
    DispFontSelectButton* fontButton() const { return m_fontButton; }
    OpacityRow* opacityRow() const { return m_opacity; }
    QComboBox* effectBox() const { return m_effectBox; }

    // The font new items start with: Microsoft YaHei at 22, under its
    // Chinese name when the interface is Chinese.
    static QFont initialFont();

public slots:
    // Shows the current item's attributes in the controls.
    void updateAttribute();
    void createNewCustomTextBox();
    void customTextButtonsSlot();

protected:
    QGraphicsItem* createItem(DispScene* scene) override;
    void fillControls(QGraphicsItem* item) override;

private:
    QPlainTextEdit* m_textEdit = nullptr;
    DispColorSelectButton* m_colorButton = nullptr;
    DispFontSelectButton* m_fontButton = nullptr;
    OpacityRow* m_opacity = nullptr;
    QComboBox* m_effectBox = nullptr;
};
