#pragma once

#include <QtGlobal>

// The images live in a static library; nothing references their data, so the
// executable and every test that shows them registers them once.
inline void initPanelcastResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(panelcast);
        return true;
    }();
    Q_UNUSED(registered)
}
