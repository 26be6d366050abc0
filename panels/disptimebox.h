#pragma once

#include "itemlistpanel.h"

class DispDateWidget;
class QComboBox;

// The "Date Display" panel: up to five date and time read-outs
// (DispDateWidget) on the scene, each in one of five formats with its
// colour, font and transparency; theme record 131.
class disptimebox : public ItemListPanel
{
    Q_OBJECT

public:
    static constexpr int kMaxItems = 5;

    explicit disptimebox(QWidget* parent = nullptr);

    void writeThemeRecord(QDataStream& out, const QString& resourceFolder) override;
    void readThemeRecord(ThemeRecordReader& in, const QString& themeFolder) override;

    // The date widget's format of each date type; empty outside 0..4.
    static QString formatOf(int dateType);
    // The date type of a widget (its format's index; 0 for a format the panel does not offer).
    static int dateTypeOf(const DispDateWidget* widget);

    DispDateWidget* currentDate();
    QComboBox* dateTypeBox() const { return m_typeBox; }

public slots:
    void updateAttribute();
    void createNewItemBox();
    void itemButtonsSlot();

protected:
    QGraphicsItem* createItem(DispScene* scene) override;
    void fillControls(QGraphicsItem* item) override;
    void applyColor(QGraphicsItem* item, const QColor& color) override;
    void applyFont(QGraphicsItem* item, const QFont& font) override;

private:
    void setDateType(int index);

    QComboBox* m_typeBox = nullptr;
};
