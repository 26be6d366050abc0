#pragma once

#include "itemlistpanel.h"

class DispImageWidget;
class OpacityRow;
class QLineEdit;
class QToolButton;

// "ICO Display": pictures, animated GIFs and videos placed on the scene as
// image widgets named "image_ico...", at most 20. Their media files are
// copied into the theme's res folder when the theme is saved.
class dispiconbox : public ItemListPanel, public RotationRole, public MediaRole
{
    Q_OBJECT

public:
    static constexpr int kMaxItems = 20;

    explicit dispiconbox(QWidget* parent = nullptr);

    void writeThemeRecord(QDataStream& out, const QString& resourceFolder) override;
    void readThemeRecord(ThemeRecordReader& in, const QString& themeFolder) override;

    // The icons only follow the theme's angle; they are not turned themselves.
    void setRotation(int quarterTurns) override { m_rotation = quarterTurns; }
    int rotation() const override { return m_rotation; }
    void stopMedia() override;

    // What the "..." button does with the chosen file: the current icon
    // takes the picture's natural size and plays it. Nothing without a
    // current icon or a file.
    void setMediaFile(const QString& path);
    QLineEdit* pathEdit() const { return m_pathEdit; }
    OpacityRow* opacityRow() const { return m_opacity; }

public slots:
    void createNewItemBox();
    void updateAttribute();

protected:
    QGraphicsItem* createItem(DispScene* scene) override;
    void fillControls(QGraphicsItem* item) override;
    void showAllChanged(bool shown) override;
    void removeItemWidgets(QGraphicsItem* item) override;
    void controlsCleared() override;

private:
    DispImageWidget* currentIcon();
    void chooseFile();

    QLineEdit* m_pathEdit = nullptr;
    QToolButton* m_browseButton = nullptr;
    OpacityRow* m_opacity = nullptr;
    QString m_lastFolder;
    int m_rotation = 0;
    int m_nextName = 0;
};
