#pragma once

#include "editorpanel.h"
#include "panelscenelink.h"

#include <QRect>
#include <QWidget>

class DispFrameWidget;
class DispScreenCaptureWidget;
class QCheckBox;
class QLabel;
class QSpinBox;
class QToolButton;
class ScreenGrabber;

// "Capture Display": a live region of the PC screen instead of the
// background. The panel owns the scene's "screen_capture_display" widget
// (filling the scene, below everything), the captured rectangle's four spin
// boxes, the on-screen marker behind "show frame", and record 145. Exactly
// one of this panel and the background panel is active; the home page
// decides which.
//
// Kept in the scene's capture store: shown = active; values "showFrame" and
// "rect" (the spin boxes).
class dispcapturebox : public QWidget, public EditorPanel, public ActiveRole, public SceneFitRole
{
    Q_OBJECT

public:
    static constexpr int kMaxCoordinate = 4096;
    static inline const QString kWidgetName = QStringLiteral("screen_capture_display");

    // grabber: null means the session's.
    explicit dispcapturebox(QWidget* parent = nullptr, ScreenGrabber* grabber = nullptr);
    ~dispcapturebox() override;

    qint32 themeTag() const override;
    void clearTheme() override;
    void writeThemeRecord(QDataStream& out, const QString& resourceFolder) override;
    void readThemeRecord(ThemeRecordReader& in, const QString& themeFolder) override;

    void attachScene(DispScene* scene) override;
    void pointAtScene(DispScene* scene) override;
    DispScene* scene() const override { return m_link.scene(); }
    QWidget* editor() override { return this; }

    void setActive(bool active) override;
    bool isActive();
    void fitToScene() override;

    DispScreenCaptureWidget* captureWidget() const;
    DispFrameWidget* frameWidget() const { return m_frame; }
    QCheckBox* showFrameBox() const { return m_showFrame; }
    QSpinBox* spinBox(int index) const { return m_spins[index]; } // x, y, w, h
    QLabel* noteLabel() const { return m_note; }
    QRect spinRect() const;

signals:
    // The header button: the user wants the capture (true) or the background.
    void activationRequested(bool captureActive);

public slots:
    void updateAttribute();

private:
    void ensureWidget();
    void syncControls();
    void spinChanged(int index, int value);
    void frameMoved(const QRectF& rect);
    void showFrameToggled(bool checked);
    void updateNote();
    ScreenGrabber* grabber() const;

    PanelSceneLink m_link;
    ScreenGrabber* m_grabber = nullptr;
    DispFrameWidget* m_frame = nullptr;
    QToolButton* m_header = nullptr;
    QCheckBox* m_showFrame = nullptr;
    QSpinBox* m_spins[4] = {};
    QLabel* m_note = nullptr;
};
