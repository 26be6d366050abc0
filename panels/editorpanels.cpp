#include "editorpanels.h"

#include "disparcbox.h"
#include "dispbackgroundbox.h"
#include "dispbarbox.h"
#include "dispcapturebox.h"
#include "dispcustomtextbox.h"
#include "dispiconbox.h"
#include "dispreadoutrecord.h"
#include "dispsysteminfobox.h"
#include "disptimebox.h"
#include "panelslog.h"
#include "themestorage.h"
#include "themetags.h"

#include <algorithm>

namespace {

// The eight panels' tags open the tag order; the widget records follow.
int tagIndex(qint32 tag)
{
    const auto end = kThemeTagOrder.begin() + EditorPanels::kPanelCount;
    const auto it = std::find(kThemeTagOrder.begin(), end, tag);
    return it == end ? -1 : int(it - kThemeTagOrder.begin());
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
    put(widget(new disparcbox(environment.parent)));
    put(widget(new dispbarbox(environment.parent)));

    auto* background = widget(new dispbackgroundbox(environment.parent));
    put(background);
    m_rotation = background;
    m_sized << background;
    m_backgroundActive = background;
    m_media << background;
    m_background = background;

    auto* capture = widget(new dispcapturebox(environment.parent));
    put(capture);
    m_captureActive = capture;
    m_captureFit = capture;
    QObject::connect(capture, &dispcapturebox::activationRequested, capture,
                     [this](bool captureActive) { setBackgroundActive(!captureActive); });

    for (DispReadoutRecord::Kind kind : {DispReadoutRecord::Gauge, DispReadoutRecord::Chart,
                                         DispReadoutRecord::Clock, DispReadoutRecord::ThreeD}) {
        m_widgetRecords.push_back(std::make_unique<DispReadoutRecord>(kind));
    }
    for (size_t i = 0; i < m_panels.size(); ++i) {
        Q_ASSERT(panel(kThemeTagOrder[i]) != nullptr);
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
    for (const auto& record : m_widgetRecords) {
        storage.setPanel(record.get());
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
    for (const auto& record : m_widgetRecords) {
        record->attachScene(scene);
    }
}

void EditorPanels::pointAt(DispScene* scene)
{
    for (EditorPanel* panel : m_panels) {
        panel->pointAtScene(scene);
    }
    for (const auto& record : m_widgetRecords) {
        record->pointAtScene(scene);
    }
}

void EditorPanels::clearAll()
{
    for (EditorPanel* panel : m_panels) {
        panel->clearTheme();
    }
    for (const auto& record : m_widgetRecords) {
        record->clearTheme();
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
