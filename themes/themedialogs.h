#pragma once

#include <QString>

#include <memory>

class QWidget;

// The message boxes and file dialogs of the theme actions, behind one seam so
// tests (and scripts) answer them without a modal dialog.
class ThemeDialogs
{
public:
    virtual ~ThemeDialogs() = default;

    virtual void warning(const QString& title, const QString& text) = 0;
    virtual void information(const QString& title, const QString& text) = 0;
    // "OK" / "Cancel"; true for "OK".
    virtual bool askOkCancel(const QString& title, const QString& text) = 0;
    virtual QString saveFileName(const QString& caption, const QString& folder, const QString& filter) = 0;
    virtual QString openFileName(const QString& caption, const QString& folder, const QString& filter) = 0;

    // Modal dialogs over parent; with $PANELCAST_NO_MODAL set, messages go to
    // the log, questions are answered "Cancel" and file dialogs with nothing.
    static std::unique_ptr<ThemeDialogs> create(QWidget* parent = nullptr);
};
