#pragma once

#include "editorpanel.h"
#include "panelscenelink.h"

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QWidget>

class DispColorSelectButton;
class DispFontSelectButton;
class OpacityRow;
class QCheckBox;
class QGridLayout;
class QLabel;
class QListWidget;
class QPushButton;
class QToolButton;
class QVBoxLayout;
class ThemeRecordReader;

// The common part of the panels that place a list of items on the scene
// (custom text, time, system info; icon, arc, bar follow the same shape): a
// header with the title and the show-all box, a strip of checkable item
// buttons ending in "Add", and the controls of the current item below.
//
// The items, the show-all flag, the count and the current item live in the
// scene's store (DispScene::PanelStore) and are kept there after every
// change, so attaching to another scene and back restores the list. An item
// is the widget the panel created (for a pair, the one that carries the
// item's data); subclasses keep any per-item extra as a property of it.
class ItemListPanel : public QWidget, public EditorPanel
{
    Q_OBJECT

public:
    // Largest opacity/position/name an item read from a record may have.
    static constexpr double kMaxCoordinate = 100000;

    // The colour, font and transparency controls of the current item.
    struct StyleControls
    {
        DispColorSelectButton* color = nullptr;
        DispFontSelectButton* font = nullptr;
        OpacityRow* opacity = nullptr;
    };

    // The fields most items keep in a record, in this order.
    struct ItemFields
    {
        QString name;
        QPointF position;
        QColor color;
        QFont font;
        QString text;
        double opacity = 1;

        bool read(ThemeRecordReader& in);
        // Name (when sane for typeWord), position (when sane) and opacity
        // (bounded); a refused name is logged.
        void place(QGraphicsObject* item, const QString& typeWord) const;
    };

    ItemListPanel(qint32 tag, int storeSlot, int limit, QWidget* parent = nullptr);
    ~ItemListPanel() override;

    qint32 themeTag() const override { return m_tag; }
    void attachScene(DispScene* scene) override;
    void pointAtScene(DispScene* scene) override;
    DispScene* scene() const override { return m_link.scene(); }
    QWidget* editor() override { return this; }
    void clearTheme() override;

    int limit() const { return m_limit; }
    int itemCount();
    QList<QGraphicsItem*> items();
    // The item being edited, or null.
    QGraphicsItem* currentItem();
    int currentIndex();
    bool showAll();

    const StyleControls& style() const { return m_style; }
    QCheckBox* showAllBox() const { return m_showAllBox; }
    QPushButton* addButton() const { return m_addButton; }
    QList<QToolButton*> entryButtons() const { return m_buttons; }
    // The item's Delete action, as its entry's context menu runs it.
    void deleteEntry(int index);

    // Checks of values read from a theme file that others may have made.
    // An object name is kept only when it starts with the type word and
    // holds nothing but letters, digits and "_".
    static bool saneName(const QString& name, const QString& typeWord);
    static bool sanePosition(const QPointF& position);
    // NaN becomes 1 (opaque), the rest is bounded to 0..1.
    static double saneOpacity(double opacity);
    // The font new items start with: Microsoft YaHei at 22, under its
    // Chinese name when the interface is Chinese.
    static QFont initialFont();

protected:
    // Called once by the subclass's constructor: the title, the entry
    // buttons' text and optional images (normal, checked).
    void setupList(const QString& title, const QString& entryText, const QString& image = QString(),
                   const QString& checkedImage = QString());
    // The show-all box's caption, for panels whose box means more than that.
    void setShowAllText(const QString& text);
    // Adds the colour and font buttons at row and the transparency row below
    // it; their changes reach the current item through the three apply
    // functions, then the deselect countdown starts.
    void addStyleControls(QGridLayout* grid, int row);
    // Both do nothing by default, for panels without those controls.
    virtual void applyColor(QGraphicsItem* item, const QColor& color);
    virtual void applyFont(QGraphicsItem* item, const QFont& font);
    // By default the item's own opacity.
    virtual void applyOpacity(QGraphicsItem* item, double opacity);
    // Where the subclass puts its controls, below the strip.
    QVBoxLayout* controlsLayout() const { return m_controls; }
    QLabel* titleLabel() const { return m_title; }

    // Add: the limit, the show-all rule of the first item, createItem, a new
    // checked entry. Null when the limit is reached or nothing was created.
    QGraphicsItem* addItem();
    // An entry button was clicked: it becomes current, its item is selected
    // on the scene, the controls show it.
    void entryClicked(int index);
    // The scene's deselect countdown after an edit.
    void edited() { m_link.edited(); }

    // Creates the item's widget(s) on the scene from the controls' values.
    virtual QGraphicsItem* createItem(DispScene* scene) = 0;
    // Loads the controls from an item.
    virtual void fillControls(QGraphicsItem* item) = 0;
    // Shows or hides an item (and its companions).
    virtual void setItemShown(QGraphicsItem* item, bool shown);
    // The show-all box changed: by default every item follows it.
    virtual void showAllChanged(bool shown);
    // Removes an item's widgets from the scene and deletes them later.
    virtual void removeItemWidgets(QGraphicsItem* item);
    // The item a scene item belongs to, or null.
    virtual QGraphicsItem* itemFor(QGraphicsItem* sceneItem);
    // The scene deletes the selected widgets of item: the panel removes the rest of it.
    virtual void itemDeletedOnScene(QGraphicsItem* item) { Q_UNUSED(item) }
    // After attach and clear: the controls when there is no item.
    virtual void controlsCleared() {}

    // Record helpers: the show-all flag and a bounded item count.
    bool readHeader(ThemeRecordReader& in, bool& shown, qint32& count, int minItemBytes);
    // Whether one more item may be created while reading; logs a refusal once.
    bool roomForRecordItem();
    // After reading: the stored flag when any item exists, the controls from the current item.
    void finishRead(bool shown);

private:
    void onShowAllToggled(bool shown);
    void onSceneSelected(QGraphicsItem* sceneItem);
    void onSceneDeleted(QGraphicsItem* sceneItem);
    void rebuildEntries();
    QToolButton* makeButton();
    void appendEntry();
    void makeCurrent(int index);
    void dropEntry(int index);
    void showCurrent();

    qint32 m_tag;
    int m_limit;
    PanelSceneLink m_link;
    QString m_entryText;
    QString m_image;
    QString m_checkedImage;
    QLabel* m_title = nullptr;
    QCheckBox* m_showAllBox = nullptr;
    QListWidget* m_strip = nullptr;
    QPushButton* m_addButton = nullptr;
    QVBoxLayout* m_controls = nullptr;
    QList<QToolButton*> m_buttons;
    StyleControls m_style;
    bool m_refusalLogged = false;
};
