#pragma once

#include "readoutitempanel.h"

class QCheckBox;
class QComboBox;
class QSpinBox;

// The bar panel: creates, lists, edits and deletes the bars of the scene
// and keeps them in record 134.
class dispbarbox : public ReadoutItemPanel
{
    Q_OBJECT

public:
    explicit dispbarbox(QWidget* parent = nullptr);

    qint32 themeTag() const override;

protected:
    DispWidget* newWidget(DispScene* scene) override;
    void loadKindControls(DispWidget* widget) override;
    void writeKindFields(QDataStream& out, DispWidget* widget) override;
    bool readKindFields(ThemeRecordReader& in, KindFields* fields) override;
    void applyKindFields(DispWidget* widget, const KindFields& fields, const QSizeF& size) override;
    int sensorType(DispWidget* widget) const override;
    void setSensorType(DispWidget* widget, int type) override;

private:
    void applyGradient();

    QSpinBox* m_length = nullptr;
    QSpinBox* m_height = nullptr;
    DispColorSelectButton* m_borderColor = nullptr;
    QComboBox* m_direction = nullptr;
    QCheckBox* m_fill = nullptr;
};
