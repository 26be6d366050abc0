#pragma once

#include <QWidget>

class DispScene;
class QGraphicsView;
class dispsettingwidget;

// Placeholder of the editor page: shows the placeholder scene and owns the
// hidden settings page. Device contexts, panels and theme lists replace it.
class DispHomePage : public QWidget
{
    Q_OBJECT

public:
    explicit DispHomePage(DispScene* placeholderScene, QWidget* parent = nullptr);
    ~DispHomePage() override;

    dispsettingwidget* settingPage() const { return m_settingPage; }

    // Setting button of the main window: with a current display device the
    // page would first hand over its scene and transport; then it shows the
    // settings page.
    void openSettingPage();

    // Exit: stop every device's transport and free the device records.
    void releaseAllDevices();

signals:
    void updateDeviceList(bool state, QString com, int w, int h);

public slots:
    void updateSelectDevice(QString com, bool type);

private:
    DispScene* m_currentScene = nullptr;
    QGraphicsView* m_view = nullptr;
    dispsettingwidget* m_settingPage = nullptr;
};
