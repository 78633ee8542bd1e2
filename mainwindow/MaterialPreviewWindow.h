#pragma once
// The lit preview: a small tool window beside the main window showing the material the
// send-back would apply on a lit sphere (see MaterialSphere), kept in step by its owner.

#include "mainwindow/MaterialSphere.h"

#include <QImage>
#include <QWidget>

namespace tintara {

class MaterialPreviewWindow final : public QWidget {
    Q_OBJECT
public:
    static constexpr int SphereSize = 256;

    explicit MaterialPreviewWindow(QWidget* owner);
    void SetMaterial(const SphereMaterial& material);
    const QImage& Image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    MaterialSphere m_sphere;
    QImage m_image;
};

} // namespace tintara
