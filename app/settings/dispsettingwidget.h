#pragma once

#include "languageloader.h"

#include <QPoint>
#include <QPointer>
#include <QWidget>

#include <functional>

class DispScene;
class DispSensorManager;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QToolButton;
class Transport;

// The settings page: a frameless window with the application-wide
// preferences, stored in the base settings the moment they change, and the
// functions of the home page's current display device (version, firmware and
// logo upgrades, expansion screen mode).
class dispsettingwidget : public QWidget
{
    Q_OBJECT

public:
    // sensors receives the temperature unit and is what the Export button
    // writes out; it may be null (no unit to pass on, nothing to export).
    explicit dispsettingwidget(QWidget* parent = nullptr, DispSensorManager* sensors = nullptr);

    // Reads the stored "minimize" flag, ticks the Minimize box accordingly and
    // returns the flag.
    bool startMinimised();

    void setAutoRunRegistry(bool on);
    bool isAutoRunRegistered() const;

    // Replaces the installed translator by the one of the language table row.
    void switchLanguage(int index);

    // The current display device: its scene (rotation, size) and its device
    // link. Clears the version field and asks the device for its version.
    void setDevice(DispScene* scene, Transport* transport);
    Transport* transport() const;
    // Ticks the Expansion Screen Mode box without switching the device.
    void setExpansionTicked(bool ticked);

    // What the "..." buttons do with the chosen file (an empty choice clears).
    void setFirmwarePath(const QString& path);
    void setLogoPath(const QString& path);
    QString firmwarePath() const { return m_firmwarePath; }
    QString logoPath() const { return m_logoPath; }

    // The upgrade buttons.
    void upgradeFirmware();
    void upgradeLogo();

    // The information boxes ("Upgrade success.", "size not right.", ...)
    // go here instead of a modal box when set; tests and scripts answer them.
    using MessageHandler = std::function<void(const QString& title, const QString& text)>;
    void setMessageHandler(MessageHandler handler) { m_messageHandler = std::move(handler); }
    // Replaces the sensor readings export behind the Export button (tests).
    void setExportHandler(std::function<void()> handler) { m_exportHandler = std::move(handler); }

signals:
    void brightnessChanged(int percent);

public slots:
    void setDeviceVersion(QString text);
    void onUpgradeState(bool state);

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void buildLayout();
    void buildDeviceRows(class QGridLayout* grid, QWidget* body);
    void loadPreferences();
    void retranslate();
    void refreshVersion();
    void chooseFirmware();
    void chooseLogo();
    void setUpgradeButtonsEnabled(bool enabled);
    void onExpansionToggled(bool on);
    void showMessage(const QString& text);
    bool transportOpen() const;
    bool refuseSmallFile(int kind, const QString& path);

    LanguageLoader m_language;

    QLabel* m_title = nullptr;
    QToolButton* m_closeButton = nullptr;
    QLabel* m_settingCaption = nullptr;
    QLabel* m_autoRunCaption = nullptr;
    QLabel* m_minimizeCaption = nullptr;
    QLabel* m_unitCaption = nullptr;
    QLabel* m_languageCaption = nullptr;
    QLabel* m_brightnessCaption = nullptr;
    QCheckBox* m_autoRunBox = nullptr;
    QCheckBox* m_minimizeBox = nullptr;
    QComboBox* m_unitBox = nullptr;
    QComboBox* m_languageBox = nullptr;
    QSlider* m_brightnessSlider = nullptr;
    QLabel* m_brightnessValue = nullptr;
    QLabel* m_versionCaption = nullptr;
    QLabel* m_firmwareCaption = nullptr;
    QLabel* m_logoCaption = nullptr;
    QLabel* m_aboutCaption = nullptr;
    QLabel* m_expansionCaption = nullptr;
    QLineEdit* m_versionEdit = nullptr;
    QLineEdit* m_firmwareEdit = nullptr;
    QLineEdit* m_logoEdit = nullptr;
    QToolButton* m_refreshButton = nullptr;
    QToolButton* m_firmwareBrowse = nullptr;
    QToolButton* m_logoBrowse = nullptr;
    QToolButton* m_firmwareUpgrade = nullptr;
    QToolButton* m_logoUpgrade = nullptr;
    QToolButton* m_exportButton = nullptr;
    QCheckBox* m_expansionBox = nullptr;

    DispSensorManager* m_sensors = nullptr;
    QPointer<DispScene> m_scene;
    QPointer<Transport> m_transport;
    QString m_firmwarePath;
    QString m_logoPath;
    MessageHandler m_messageHandler;
    std::function<void()> m_exportHandler;

    bool m_placed = false;
    bool m_dragging = false;
    QPoint m_dragOffset;
};
