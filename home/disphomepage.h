#pragma once

#include "displaydevicecontext.h"
#include "themestoragehost.h"

#include <QHash>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <vector>

class ColorAdjustWidget;
class DeviceScanner;
class DispSensorManager;
class DispScene;
class DispSceneView;
class DispThemeList;
class EditorPanels;
class PortEnumerator;
class dispClippingWidget;
class QButtonGroup;
class QComboBox;
class QGraphicsScene;
class QGraphicsView;
class QLabel;
class QLineEdit;
class QListWidget;
class QStackedWidget;
class QTabWidget;
class SegScene;
class QToolButton;
class QPushButton;
class ThemeDialogs;
class ThemeStorage;
class dispsettingwidget;

// The editor page: keeps one context per attached device (found by the
// 500 ms port scan), shows the selected display's scene with the editor
// panels, the theme lists and actions, and a live preview of the frame the
// device receives; a seven-segment device shows the effects panel instead.
class DispHomePage : public QWidget, private ThemeStorageHost
{
    Q_OBJECT

public:
    static constexpr int kScanIntervalMs = 500;
    static constexpr int kPreviewIntervalMs = 25;
    static constexpr int kPreviewSide = 480;
    // The preview's box on the page; previewImage() keeps the kPreviewSide picture.
    static constexpr int kPreviewBoxHeight = 250;
    static constexpr int kBackgroundPanelIndex = 6;
    static constexpr int kCapturePanelIndex = 7;

    // Scans this machine's ports (plus $PANELCAST_VIRTUAL_PORTS).
    explicit DispHomePage(DispScene* placeholderScene, QWidget* parent = nullptr);
    // Scans the ports the enumerator lists; dialogs answers the theme actions'
    // messages (null: the standard boxes).
    DispHomePage(DispScene* placeholderScene, std::unique_ptr<PortEnumerator> enumerator,
                 std::unique_ptr<ThemeDialogs> dialogs, QWidget* parent = nullptr);
    ~DispHomePage() override;

    dispsettingwidget* settingPage() const { return m_settingPage; }
    ThemeStorage* themeStorage() const { return m_storage; }
    DeviceScanner* scanner() const { return m_scanner; }
    DispSensorManager* sensorManager() const { return m_sensorManager.get(); }
    DispThemeList* officialThemeList() const { return m_officialList; }
    DispThemeList* personalThemeList() const { return m_personalList; }

    // Setting button of the main window: hands the current display device to
    // the settings page, then shows it.
    void openSettingPage();

    // Without a window nobody looks at the preview.
    void stopPreview() { m_previewTimer.stop(); }

    // Exit: stop every device's transport and free the device records.
    void releaseAllDevices();
    // True while a display device has an upload pending or running.
    bool uploadRunning() const;
    void cancelUploads();

    const std::vector<std::unique_ptr<DisplayDeviceContext>>& displayDevices() const { return m_displays; }
    const std::vector<std::unique_ptr<DigitalDeviceContext>>& digitalDevices() const { return m_digitals; }
    DisplayDeviceContext* currentDisplay() const { return m_currentDisplay; }
    DigitalDeviceContext* currentDigital() const { return m_currentDigital; }
    DispScene* currentScene() const { return m_currentScene; }
    SegScene* segmentScene() const { return m_segmentScene; }
    ColorAdjustWidget* effectsPanel() const { return m_effectsPanel; }
    QImage previewImage() const;
    // The preview of a frame: unchanged up to 480 a side, else its longer
    // side scaled to 480 and the other truncated in proportion.
    static QSize previewSize(const QSize& frameSize);

signals:
    void updateDeviceList(bool state, QString com, int w, int h);
    void deviceInserted(QString com, int vid, int pid);
    void deviceRemoved(QString com, int vid, int pid);

public slots:
    void updateSelectDevice(QString com, bool type);
    void onSearchDeviceFinish(QString com);
    void onDevInserted(QString com, int vid, int pid);
    void onDevRemoved(QString com);
    void clearDeviceInfo(QString com, int vid, int pid);
    void updateCurrentSegParamInfo(quint32 type, qint32 onOff, quint32 color, quint32 light, qint32 function,
                                   double angle);
    void homePageStackSelect(int index);
    void updateFrame();

protected:
    void changeEvent(QEvent* event) override;

private:
    void buildLayout();
    QWidget* buildThemeActions();
    QWidget* buildZoomBar(QWidget* parent);
    QWidget* buildThemeLists();
    QWidget* buildPanelSelector();
    QWidget* buildRightTabs();
    void retranslate();

    DisplayDeviceContext* findDisplay(const QString& com) const;
    DigitalDeviceContext* findDigital(const QString& com) const;
    void showScene(QGraphicsScene* scene);
    // The background or the capture panel, as the scene's "image_background" widget says.
    void showBackgroundOrCaptureTab();
    void selectDisplay(DisplayDeviceContext* context);
    void selectDigital(DigitalDeviceContext* context);
    void showPlaceholder();
    void setThemeEditingVisible(bool visible);
    void releaseDisplay(DisplayDeviceContext* context);
    // Reports a device to the device list and keeps the list's order.
    void listDevice(bool state, const QString& com, int w, int h);
    void onAngleChanged(int index);
    void forwardBrightness(int percent);
    void switchPanelTab(int index);

    // What theme storage asks of the page.
    void clearSceneForLoad() override;
    void finishLoad() override;
    void stopDecodersForSave() override;
    void storeRotation() override;
    void applyRotation() override;
    void pointMediaAt(const QString& stem) override;
    void stopMediaPlayback() override;
    void setThemeName(const QString& name) override;

    DispScene* m_placeholderScene;
    DispScene* m_currentScene;
    DisplayDeviceContext* m_currentDisplay = nullptr;
    DigitalDeviceContext* m_currentDigital = nullptr;
    std::vector<std::unique_ptr<DisplayDeviceContext>> m_displays;
    std::vector<std::unique_ptr<DigitalDeviceContext>> m_digitals;
    // Ports in the order the device list shows them.
    QStringList m_listedPorts;

    // Runs for the life of the page; every scene and widget reads it.
    std::unique_ptr<DispSensorManager> m_sensorManager;
    DeviceScanner* m_scanner = nullptr;
    QTimer m_previewTimer;
    // Cache key of the frame the preview shows.
    qint64 m_previewKey = 0;
    std::unique_ptr<ThemeDialogs> m_dialogs;
    ThemeStorage* m_storage = nullptr;
    // The eight editor panels; attached to the current scene.
    std::unique_ptr<EditorPanels> m_panels;
    dispClippingWidget* m_clippingTool = nullptr;

    SegScene* m_segmentScene = nullptr;
    DispSceneView* m_view = nullptr;
    QStackedWidget* m_modeStack = nullptr;
    QButtonGroup* m_modeGroup = nullptr;
    QToolButton* m_standardButton = nullptr;
    QToolButton* m_customButton = nullptr;
    QListWidget* m_panelSelector = nullptr;
    QStackedWidget* m_panelTabs = nullptr;
    QList<QLabel*> m_panelHeaders;
    // Titles shown in place of the panels not built yet, by tab index.
    QHash<int, QLabel*> m_panelTitles;
    QStackedWidget* m_themeListStack = nullptr;
    QButtonGroup* m_themeListGroup = nullptr;
    QPushButton* m_officialButton = nullptr;
    QPushButton* m_personalButton = nullptr;
    DispThemeList* m_officialList = nullptr;
    DispThemeList* m_personalList = nullptr;
    QWidget* m_themeActions = nullptr;
    QLabel* m_angleCaption = nullptr;
    QLabel* m_saveCaption = nullptr;
    QLabel* m_exportCaption = nullptr;
    QLabel* m_importCaption = nullptr;
    QComboBox* m_angleBox = nullptr;
    QLineEdit* m_themeNameEdit = nullptr;
    QToolButton* m_zoomOutButton = nullptr;
    QToolButton* m_zoomInButton = nullptr;
    QToolButton* m_zoomActualButton = nullptr;
    QToolButton* m_zoomFitButton = nullptr;
    QLabel* m_zoomLabel = nullptr;
    QToolButton* m_saveButton = nullptr;
    QToolButton* m_exportButton = nullptr;
    QToolButton* m_importButton = nullptr;
    QTabWidget* m_rightTabs = nullptr;
    ColorAdjustWidget* m_effectsPanel = nullptr;
    QWidget* m_displayPage = nullptr;
    QLabel* m_previewCaption = nullptr;
    QLabel* m_previewLabel = nullptr;
    QImage m_previewImage;
    dispsettingwidget* m_settingPage = nullptr;
};
