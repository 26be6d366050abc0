#include "editorpanels.h"

#include "dispbackgroundbox.h"
#include "dispcustomtextbox.h"
#include "dispiconbox.h"
#include "dispsysteminfobox.h"
#include "disptimebox.h"
#include "panelslog.h"
#include "placeholdercapturepanel.h"
#include "placeholderpanel.h"
#include "themestorage.h"
#include "themetags.h"

#include <algorithm>

namespace {

int tagIndex(qint32 tag)
{
    const auto it = std::find(kThemeTagOrder.begin(), kThemeTagOrder.end(), tag);
    return it == kThemeTagOrder.end() ? -1 : int(it - kThemeTagOrder.begin());
}

} // namespace

EditorPanels::EditorPanels(const PanelEnvironment& environment)
{
    // Panels with an editor are widgets owned by their parent; with no
    // parent given, the set owns them.
    const auto widget = [this, &environment](auto* panel) {
        if (environment.parent == nullptr) {
            m_ownedEditors.emplace_back(panel);
        }
        return panel;
    };
    put(widget(new dispcustomtextbox(environment.parent)));
    put(widget(new dispsysteminfobox(environment.sensors, environment.parent)));
    put(widget(new disptimebox(environment.parent)));
    auto* icons = widget(new dispiconbox(environment.parent));
    put(icons);
    m_angleFollowers << icons;
    m_media << icons;
    put(own(std::make_unique<PlaceholderPanel>(ArcTag, ArcStore)));
    put(own(std::make_unique<PlaceholderPanel>(BarTag, BarStore)));

    auto* background = widget(new dispbackgroundbox(environment.parent));
    put(background);
    m_rotation = background;
    m_sized << background;
    m_backgroundActive = background;
    m_media << background;
    m_background = background;

    put(own(std::make_unique<PlaceholderCapturePanel>()));

    for (qint32 tag : kThemeTagOrder) {
        Q_ASSERT(panel(tag) != nullptr);
    }
}

EditorPanels::~EditorPanels() = default;

template <typename P>
P* EditorPanels::own(std::unique_ptr<P> panel)
{
    P* raw = panel.get();
    m_owned.push_back(std::move(panel));
    return raw;
}

void EditorPanels::put(EditorPanel* panel)
{
    const int index = tagIndex(panel->themeTag());
    Q_ASSERT(index >= 0);
    m_panels[size_t(index)] = panel;
}

EditorPanel* EditorPanels::panel(qint32 tag) const
{
    const int index = tagIndex(tag);
    return index < 0 ? nullptr : m_panels[size_t(index)];
}

void EditorPanels::installInto(ThemeStorage& storage) const
{
    for (EditorPanel* panel : m_panels) {
        storage.setPanel(panel);
    }
}

void EditorPanels::attach(DispScene* scene, int width, int height)
{
    for (DeviceSizeRole* sized : m_sized) {
        sized->setDeviceSize(width, height);
    }
    for (EditorPanel* panel : m_panels) {
        panel->attachScene(scene);
    }
}

void EditorPanels::pointAt(DispScene* scene)
{
    for (EditorPanel* panel : m_panels) {
        panel->pointAtScene(scene);
    }
}

void EditorPanels::clearAll()
{
    for (EditorPanel* panel : m_panels) {
        panel->clearTheme();
    }
}

void EditorPanels::clearItemPanels()
{
    for (EditorPanel* panel : m_panels) {
        if (panel->themeTag() != BackgroundTag && panel->themeTag() != CaptureTag) {
            panel->clearTheme();
        }
    }
}

int EditorPanels::rotation() const
{
    return m_rotation != nullptr ? qBound(0, m_rotation->rotation(), 3) : 0;
}

void EditorPanels::setRotation(int quarterTurns)
{
    if (quarterTurns < 0 || quarterTurns > 3) {
        return;
    }
    if (m_rotation != nullptr) {
        m_rotation->setRotation(quarterTurns);
    }
    for (RotationRole* follower : m_angleFollowers) {
        follower->setRotation(quarterTurns);
    }
}

void EditorPanels::setBackgroundActive(bool backgroundShown)
{
    if (m_backgroundActive != nullptr) {
        m_backgroundActive->setActive(backgroundShown);
    }
    if (m_captureActive != nullptr) {
        m_captureActive->setActive(!backgroundShown);
    }
}

void EditorPanels::stopMedia()
{
    for (MediaRole* media : m_media) {
        media->stopMedia();
    }
}

void EditorPanels::pointMediaAt(const QString& stem)
{
    for (MediaRole* media : m_media) {
        media->pointMediaAt(stem);
    }
}

void EditorPanels::fitCaptureToScene()
{
    if (m_captureFit != nullptr) {
        m_captureFit->fitToScene();
    }
}
