#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>

// Busy time of one GPU from the DRM clients' fdinfo (drm-engine-<class> in
// ns). Only processes the user may inspect are visible; their clients are
// counted once each by drm-client-id.
class DrmClientUsage
{
public:
    DrmClientUsage(QString procRoot, QString pciAddress);

    struct Sample
    {
        // The busiest engine class over the interval since the last sample
        // (0 on the first), 0..100.
        double busyPercent = 0.0;
        qint64 localMemoryBytes = 0;
    };

    Sample sample(qint64 nowNs);

private:
    void parseClient(const QByteArray& info, QHash<QByteArray, qint64>* engines, QSet<QByteArray>* clients,
                     qint64* memory) const;
    static qint64 memoryBytes(const QByteArray& value);

    QString m_procRoot;
    QString m_address;
    QHash<QByteArray, qint64> m_lastEngines;
    qint64 m_lastNs = 0;
};
