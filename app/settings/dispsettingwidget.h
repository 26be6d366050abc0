#pragma once

#include "languageloader.h"

#include <QPoint>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QSlider;
class QToolButton;

// The settings page: a frameless window with the application-wide
// preferences, stored in the base settings the moment they change. The
// per-device rows (version, firmware, logo, expansion mode) join it with the
// device link.
class dispsettingwidget : public QWidget
{
    Q_OBJECT

public:
    explicit dispsettingwidget(QWidget* parent = nullptr);

    // Reads the stored "minimize" flag, ticks the Minimize box accordingly and
    // returns the flag.
    bool startMinimised();

    void setAutoRunRegistry(bool on);
    bool isAutoRunRegistered() const;

    // Replaces the installed translator by the one of the language table row.
    void switchLanguage(int index);

signals:
    void brightnessChanged(int percent);

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void buildLayout();
    void loadPreferences();
    void retranslate();

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

    bool m_placed = false;
    bool m_dragging = false;
    QPoint m_dragOffset;
};
