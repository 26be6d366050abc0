#pragma once

#include "dispscene.h"

#include <QPoint>
#include <QStringList>
#include <QSystemTrayIcon>
#include <QWidget>

#include <functional>

class DispHomePage;
class QAction;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QStackedWidget;
class QToolButton;

// The main window: frameless, a top bar, the list of attached devices on the
// left and the home page on the right, plus the tray icon. It lists what the
// home page reports and tells it which listed device the user picked.
class DispMainWIndow : public QWidget
{
    Q_OBJECT

public:
    explicit DispMainWIndow(QWidget* parent = nullptr);
    ~DispMainWIndow() override;

    DispHomePage* homePage() const { return m_homePage; }
    // Found at start from the session bus; tests set it.
    void setStatusNotifierTray(bool on) { m_statusNotifierTray = on; }
    // Answers the question asked before exiting during an upload (tests);
    // without one a message box asks.
    void setQuestionHandler(std::function<bool(const QString& title, const QString& text)> handler)
    {
        m_questionHandler = std::move(handler);
    }

    // A list entry's text: kind and the port's last path part, then the panel
    // size on a second line for a display ("DISPLAY_ttyACM0", "480 x 1920").
    static QString deviceEntryText(const QString& port, int w, int h);

signals:
    void deviceSelectChange(QString port, bool type);

public slots:
    void onUpdateDeviceList(bool state, QString port, int w, int h);
    void ClickUsbDevice(QListWidgetItem* item);

protected:
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QWidget* buildTopBar();
    QWidget* buildEmptyHint();
    void retranslateEmptyHint();
    void setPageStackVisible(bool visible);
    void buildTray();
    void onTrayActivated(QSystemTrayIcon::ActivationReason reason);
    void onCloseClicked();
    void exitApplication();
    bool confirmExitDuringUpload();

    // The placeholder scene shown before any device is selected.
    DispScene m_scene;

    QToolButton* m_settingButton = nullptr;
    QToolButton* m_closeButton = nullptr;
    QListWidget* m_deviceList = nullptr;
    QStackedWidget* m_pageStack = nullptr;
    DispHomePage* m_homePage = nullptr;
    QWidget* m_emptyHint = nullptr;
    QLabel* m_emptyTitle = nullptr;
    QLabel* m_emptyText = nullptr;

    QSystemTrayIcon* m_trayIcon = nullptr;
    QMenu* m_trayMenu = nullptr;
    QAction* m_exitAction = nullptr;
    bool m_statusNotifierTray = false;
    std::function<bool(const QString&, const QString&)> m_questionHandler;

    QStringList m_ports;
    QString m_lastClickedText;

    bool m_dragging = false;
    QPoint m_dragOffset;
};
