#pragma once

#include "themedialogs.h"

#include <QStringList>

// Answers the theme dialogs from a script and records every message as
// "title|text", so tests see exactly what a user would have been shown.
class FakeThemeDialogs : public ThemeDialogs
{
public:
    void warning(const QString& title, const QString& text) override { messages << title + "|" + text; }
    void information(const QString& title, const QString& text) override { messages << title + "|" + text; }
    bool askOkCancel(const QString& title, const QString& text) override
    {
        messages << title + "|" + text;
        return answerOk;
    }
    QString saveFileName(const QString& caption, const QString& folder, const QString& filter) override
    {
        messages << caption + "|" + folder + "|" + filter;
        return fileAnswer;
    }
    QString openFileName(const QString& caption, const QString& folder, const QString& filter) override
    {
        messages << caption + "|" + folder + "|" + filter;
        return fileAnswer;
    }

    QStringList messages;
    bool answerOk = false;
    QString fileAnswer;
};
