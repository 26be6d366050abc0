#pragma once

#include "itemlistpanel.h"

class DispNumberWidget;
class DispSensorManager;
class QComboBox;
class QLineEdit;
class dispsysteminfoview;

// The "System Info" panel: up to twenty sensor items on the scene, each a
// caption and a live number bound to a display type; theme record 130. The
// live strip of six readings sits on top of it.
//
// Both widgets of an item are number widgets made by the scene (their names
// start with "data_"); the caption is never bound to a display type, so it
// keeps its text. The item is the bound number; its caption hangs on it as
// the property "caption".
class dispsysteminfobox : public ItemListPanel
{
    Q_OBJECT

public:
    static constexpr int kMaxItems = 20;
    // Written after each item; only stored, never used.
    static constexpr qint32 kReadingType = 1;
    static constexpr qint32 kClass = 11;
    static constexpr qint32 kSubClass = 10;

    explicit dispsysteminfobox(DispSensorManager* manager, QWidget* parent = nullptr);

    void writeThemeRecord(QDataStream& out, const QString& resourceFolder) override;
    void readThemeRecord(ThemeRecordReader& in, const QString& themeFolder) override;

    static DispNumberWidget* captionOf(QGraphicsItem* item);
    DispNumberWidget* currentNumber();

    dispsysteminfoview* view() const { return m_view; }
    QComboBox* typeBox() const { return m_typeBox; }
    QLineEdit* nameEdit() const { return m_nameEdit; }

public slots:
    void updateAttribute();
    void createNewItemBox();
    void itemButtonsSlot();

protected:
    QGraphicsItem* createItem(DispScene* scene) override;
    void fillControls(QGraphicsItem* item) override;
    void applyColor(QGraphicsItem* item, const QColor& color) override;
    void applyFont(QGraphicsItem* item, const QFont& font) override;
    void applyOpacity(QGraphicsItem* item, double opacity) override;
    void setItemShown(QGraphicsItem* item, bool shown) override;
    // "Display Name:" shows or hides the current item's caption.
    void showAllChanged(bool shown) override;
    void removeItemWidgets(QGraphicsItem* item) override;
    QGraphicsItem* itemFor(QGraphicsItem* sceneItem) override;
    void itemDeletedOnScene(QGraphicsItem* item) override;

private:
    DispSensorManager* m_manager;
    dispsysteminfoview* m_view = nullptr;
    QComboBox* m_typeBox = nullptr;
    QLineEdit* m_nameEdit = nullptr;
};
