#include "themedialogs.h"

#include "themelogging.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

namespace {

class StandardThemeDialogs : public ThemeDialogs
{
public:
    explicit StandardThemeDialogs(QWidget* parent) : m_parent(parent) {}

    void warning(const QString& title, const QString& text) override
    {
        if (noModal(title, text))
            return;
        QMessageBox::warning(m_parent, title, text);
    }

    void information(const QString& title, const QString& text) override
    {
        if (noModal(title, text))
            return;
        QMessageBox::information(m_parent, title, text);
    }

    bool askOkCancel(const QString& title, const QString& text) override
    {
        if (noModal(title, text))
            return false;
        return QMessageBox::information(m_parent, title, text, QMessageBox::Ok | QMessageBox::Cancel) ==
               QMessageBox::Ok;
    }

    QString saveFileName(const QString& caption, const QString& folder, const QString& filter) override
    {
        if (noModal(caption, folder))
            return QString();
        return QFileDialog::getSaveFileName(m_parent, caption, folder, filter);
    }

    QString openFileName(const QString& caption, const QString& folder, const QString& filter) override
    {
        if (noModal(caption, folder))
            return QString();
        return QFileDialog::getOpenFileName(m_parent, caption, folder, filter);
    }

private:
    static bool noModal(const QString& title, const QString& text)
    {
        if (!qEnvironmentVariableIsSet("PANELCAST_NO_MODAL"))
            return false;
        qCWarning(lcThemes).noquote() << title + QLatin1String(": ") + text;
        return true;
    }

    QPointer<QWidget> m_parent;
};

} // namespace

std::unique_ptr<ThemeDialogs> ThemeDialogs::create(QWidget* parent)
{
    return std::make_unique<StandardThemeDialogs>(parent);
}
