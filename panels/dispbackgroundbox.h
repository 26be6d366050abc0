#pragma once

#include "editorpanel.h"
#include "panelscenelink.h"

#include <QColor>
#include <QSize>
#include <QWidget>

class DispColorSelectButton;
class DispImageWidget;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QStackedWidget;

// "Background Display": the scene's background, one image widget named
// "image_background" that fills the scene below everything else and shows a
// plain colour, a picture or a video. The panel also keeps the theme's
// rotation, lays the scene out sideways for turned devices, and owns the
// background record (tag 144). What it shows lives in the scene's
// background state, so every device keeps its own.
class dispbackgroundbox : public QWidget,
                          public EditorPanel,
                          public RotationRole,
                          public DeviceSizeRole,
                          public ActiveRole,
                          public MediaRole
{
    Q_OBJECT

public:
    enum Type
    {
        ColourType = 0,
        PictureType = 1,
        VideoType = 2
    };

    explicit dispbackgroundbox(QWidget* parent = nullptr);

    qint32 themeTag() const override;
    void attachScene(DispScene* scene) override;
    void pointAtScene(DispScene* scene) override;
    DispScene* scene() const override { return m_link.scene(); }
    QWidget* editor() override { return this; }
    void clearTheme() override;
    void writeThemeRecord(QDataStream& out, const QString& resourceFolder) override;
    void readThemeRecord(ThemeRecordReader& in, const QString& themeFolder) override;

    void setRotation(int quarterTurns) override;
    int rotation() const override;
    void setDeviceSize(int width, int height) override;
    void setActive(bool active) override;
    void stopMedia() override;
    void pointMediaAt(const QString& stem) override;

    // The background widget of the scene, or null.
    DispImageWidget* backgroundWidget() const;
    int type() const;
    QString picturePath() const;
    QString videoPath() const;
    QComboBox* typeBox() const { return m_typeBox; }
    DispColorSelectButton* colorButton() const { return m_colorButton; }
    QCheckBox* shownBox() const { return m_shownBox; }

    // What the "..." buttons do with a chosen file: it goes to the clipping
    // tool (clipRequested) to be fitted to the device.
    void chooseMedia(int type, const QString& path);

signals:
    // The home page's clipping tool fits input to frame and writes output;
    // its answer comes back through setClippedMedia.
    void clipRequested(int imageType, const QString& input, const QString& output, const QSize& frame);

public slots:
    void updateAttribute();
    // The clipping tool's result (or the unchanged input when it was cancelled).
    void setClippedMedia(int imageType, const QString& path);

private:
    void ensureBackground();
    void fitBackground();
    void applyMode();
    void showState();
    void typeChosen(int type);
    void colourChosen(const QColor& color);
    void shownToggled(bool shown);
    void browse();
    void selectBackground();
    QSize frameSize() const;
    QString& mediaPathOf(int type);

    mutable PanelSceneLink m_link;
    int m_width = 0;
    int m_height = 0;
    QPushButton* m_header = nullptr;
    QCheckBox* m_shownBox = nullptr;
    QComboBox* m_typeBox = nullptr;
    QStackedWidget* m_tabs = nullptr;
    DispColorSelectButton* m_colorButton = nullptr;
    QLineEdit* m_pictureEdit = nullptr;
    QLineEdit* m_videoEdit = nullptr;
};
