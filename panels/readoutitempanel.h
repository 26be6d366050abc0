#pragma once

#include "editorpanel.h"
#include "panelscenelink.h"

#include <QWidget>

class DispColorSelectButton;
class DispWidget;
class QCheckBox;
class QComboBox;
class QDataStream;
class QFormLayout;
class QLabel;
class QListWidget;
class QSlider;
class QToolButton;

// What the arc and bar panels share: a header with the title and the
// visibility box, a strip of item buttons ending in "Add", the controls that
// act on the current item, and the record frame (visibility, count, items).
// At most 20 items; the current item follows the strip and the scene's
// selection, and its button's context menu deletes it.
//
// Each item's reading type, class and sub-class are only stored and read
// back; they travel with the widget as its properties.
class ReadoutItemPanel : public QWidget, public EditorPanel
{
    Q_OBJECT

public:
    static constexpr int kMaxItems = 20;

    void clearTheme() override;
    void writeThemeRecord(QDataStream& out, const QString& resourceFolder) override;
    void readThemeRecord(ThemeRecordReader& in, const QString& themeFolder) override;
    void attachScene(DispScene* scene) override;
    void pointAtScene(DispScene* scene) override;
    DispScene* scene() const override { return m_link.scene(); }
    QWidget* editor() override { return this; }

    // The panel's widgets, in creation order, and the current one (or null).
    QList<DispWidget*> items();
    DispWidget* currentItem();
    bool showAll();

public slots:
    // Loads every control from the current item.
    void updateAttribute();
    // The "Add" button: a new widget on the scene, made current.
    void createNewItemBox();
    // An item button was clicked.
    void itemButtonsSlot();
    // Deletes the current item and its widget.
    void deleteCurrentItem();
    // The visibility box: shows or hides every item.
    void setShowAll(bool shown);

protected:
    ReadoutItemPanel(const QString& title, int storeSlot, const QString& buttonText,
                     const QString& buttonImage, QWidget* parent);

    // Makes the new widget on the scene (at 0, 0), or null.
    virtual DispWidget* newWidget(DispScene* scene) = 0;
    // Gives a new item what the controls hold (the arc's font and colour).
    virtual void prepareNewItem(DispWidget* widget) { Q_UNUSED(widget) }
    // Loads the kind's controls from the current item.
    virtual void loadKindControls(DispWidget* widget) = 0;
    // The fields between the geometry and the opacity.
    virtual void writeKindFields(QDataStream& out, DispWidget* widget) = 0;
    // Reads them into a set the caller applies with applyKindFields once the
    // whole item was read; false stops the record.
    struct KindFields
    {
        QColor textColor;
        QFont font;
        QByteArray block;
    };
    virtual bool readKindFields(ThemeRecordReader& in, KindFields* fields) = 0;
    virtual void applyKindFields(DispWidget* widget, const KindFields& fields, const QSizeF& size) = 0;
    // The display type the widget shows.
    virtual int sensorType(DispWidget* widget) const = 0;
    virtual void setSensorType(DispWidget* widget, int type) = 0;

    // The controls' layout: the kind adds its rows (the reading chooser is
    // the first row), the shared controls among them, then addOpacityRow().
    QFormLayout* controls() const { return m_form; }
    void addOpacityRow();
    // Runs change on the current item's widget (nothing without one) and
    // restarts the scene's deselect countdown.
    template <typename W, typename F>
    void editCurrent(F change)
    {
        if (auto* widget = qobject_cast<W*>(currentItem())) {
            change(widget);
            m_link.edited();
        }
    }
    bool loadingControls() const { return m_loading; }

    DispColorSelectButton* m_backColor = nullptr;
    DispColorSelectButton* m_foreColor = nullptr;
    DispColorSelectButton* m_gradientColor = nullptr;
    QCheckBox* m_transparent = nullptr;
    QComboBox* m_selectItem = nullptr;

private:
    DispScene::PanelStore& store();
    DispWidget* addItem();
    void removeItemAt(int index, bool deleteWidget);
    void setCurrent(int index);
    void rebuildStrip();
    void onSceneSelected(QGraphicsItem* item);
    void onSceneDeleted(QGraphicsItem* item);

    PanelSceneLink m_link;
    QString m_buttonText;
    QString m_buttonImage;
    QCheckBox* m_showAll = nullptr;
    QListWidget* m_strip = nullptr;
    QList<QToolButton*> m_buttons;
    QFormLayout* m_form = nullptr;
    QSlider* m_opacity = nullptr;
    QLabel* m_opacityLabel = nullptr;
    bool m_loading = false;
};
