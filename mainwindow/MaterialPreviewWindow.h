#pragma once
// The lit preview: a small tool window beside the main window showing the material on a
// lit sphere (see MaterialSphere), kept in step by its owner, with a note below it when
// the sphere shows a colour the send-back would not write.

#include "mainwindow/MaterialSphere.h"

#include <QImage>
#include <QWidget>

namespace tintara {

class MaterialPreviewWindow final : public QWidget {
    Q_OBJECT
public:
    static constexpr int SphereSize = 256;
    static constexpr int NoteHeight = 36;

    explicit MaterialPreviewWindow(QWidget* owner);
    void SetMaterial(const SphereMaterial& material, const QString& note = {});
    const QImage& Image() const { return m_image; }
    const QString& Note() const { return m_note; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    MaterialSphere m_sphere;
    QImage m_image;
    QString m_note;
};

} // namespace tintara
