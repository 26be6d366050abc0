#include "disphomepage.h"

#include "dispscene.h"
#include "dispsettingwidget.h"

#include <QGraphicsView>
#include <QLabel>
#include <QLoggingCategory>
#include <QVBoxLayout>

Q_LOGGING_CATEGORY(lcHome, "panelcast.home")

DispHomePage::DispHomePage(DispScene* placeholderScene, QWidget* parent)
    : QWidget(parent), m_currentScene(placeholderScene)
{
    setStyleSheet(QStringLiteral("font-family: 'Arial';"));
    m_settingPage = new dispsettingwidget(this);
    m_settingPage->hide();

    m_view = new QGraphicsView(m_currentScene, this);
    m_view->setObjectName(QStringLiteral("homeView"));
    m_view->setStyleSheet(QStringLiteral("background-color: #202020; border: none;"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->addWidget(m_view);
}

DispHomePage::~DispHomePage()
{
    releaseAllDevices();
}

void DispHomePage::openSettingPage()
{
    qCDebug(lcHome) << "DispHomePage::openSettingPage";
    m_settingPage->show();
    m_settingPage->raise();
    m_settingPage->activateWindow();
}

void DispHomePage::releaseAllDevices()
{
    qCDebug(lcHome) << "DispHomePage::releaseAllDevices";
}

void DispHomePage::updateSelectDevice(QString com, bool type)
{
    qCDebug(lcHome) << "DispHomePage::updateSelectDevice" << com << type;
}
