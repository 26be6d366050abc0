#pragma once

#include "readoutitempanel.h"

class DispFontSelectButton;
class QCheckBox;
class QSpinBox;

// The arc panel: creates, lists, edits and deletes the rings of the scene
// and keeps them in record 133.
class disparcbox : public ReadoutItemPanel
{
    Q_OBJECT

public:
    explicit disparcbox(QWidget* parent = nullptr);

    qint32 themeTag() const override;

protected:
    DispWidget* newWidget(DispScene* scene) override;
    void prepareNewItem(DispWidget* widget) override;
    void loadKindControls(DispWidget* widget) override;
    void writeKindFields(QDataStream& out, DispWidget* widget) override;
    bool readKindFields(ThemeRecordReader& in, KindFields* fields) override;
    void applyKindFields(DispWidget* widget, const KindFields& fields, const QSizeF& size) override;
    int sensorType(DispWidget* widget) const override;
    void setSensorType(DispWidget* widget, int type) override;

private:
    void applyGradient();

    DispColorSelectButton* m_textColor = nullptr;
    DispFontSelectButton* m_font = nullptr;
    QSpinBox* m_size = nullptr;
    QSpinBox* m_lineWidth = nullptr;
    QCheckBox* m_roundCap = nullptr;
};
