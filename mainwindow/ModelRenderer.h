#pragma once
// Draws a model's triangles on the CPU into an image, lit with their materials' colours
// by the shading the preview's sphere uses, with a depth buffer and a buffer of the
// material under each pixel for picking and for the outline of selected materials. No
// widget: geometry, colours, selection and camera in; an image and indices out.
//
// Work is redone only as far as needed: a camera or size change projects the triangles
// again; a colour change shades the pixels again from what the last rasterisation kept
// of each (its material, N.L and N.H), unless a material turns translucent or opaque; a
// selection change only redraws the outlines. Translucent triangles (diffuse alpha
// below 1) are drawn after the opaque ones, farthest first, without hiding what lies
// behind them.

#include "mainwindow/MaterialShading.h"
#include "mainwindow/ModelCamera.h"
#include "material/ModelWalk.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <optional>
#include <vector>

namespace tintara {

class ModelRenderer {
public:
    // What MaterialAt gives where no material of the table is drawn.
    static constexpr int NoMaterial = -1;

    // The triangles to draw (their `material` an index into the colours, or -1 for a
    // list the table does not hold; such triangles are drawn mid-grey). Frames them.
    void SetTriangles(ModelTriangles triangles);
    // One entry per material of the table.
    void SetMaterials(const std::vector<SphereMaterial>& materials);
    // By material index; shorter than the materials means the rest are not selected.
    void SetSelected(std::vector<bool> selected);
    void SetSize(QSize size);

    // Frames the whole model from the three-quarter view.
    void Frame();
    const ModelCamera& Camera() const { return m_camera; }
    // Changes the camera; the next Render projects again.
    template <class Change> void MoveCamera(Change&& change) {
        change(m_camera);
        m_projected = false;
    }

    // Brings the image up to date and returns it.
    const QImage& Render();

    // After Render: the material drawn nearest at the pixel, NoMaterial for background,
    // grey triangles and pixels outside the image.
    int MaterialAt(QPoint pixel) const;
    // After Render: the model point drawn at the pixel, if any.
    std::optional<Vec3> PointAt(QPoint pixel) const;
    // The pixel's position in the view's normalised coordinates (see ModelCamera).
    std::array<float, 2> Normalised(QPoint pixel) const;

    const ModelTriangles& Triangles() const { return m_triangles; }
    const Vec3& Centre() const { return m_centre; }

private:
    struct Plane {
        float a = 0, b = 0, c = 0;
        float At(float x, float y) const { return a * x + b * y + c; }
    };
    struct ScreenTriangle {
        float x[3], y[3]; // pixels
        Plane w;          // 1 / depth
        Plane n[3];       // the normal in camera coordinates, not normalised
        int slot;         // material index, or Grey
    };
    static constexpr int Grey = -1;
    static constexpr int Background = -2;

    void Project();
    void AddScreenTriangle(const std::array<Vec3, 3>& at, const std::array<Vec3, 3>& normal,
                           int slot);
    // Also shades the opaque layer.
    void Rasterise();
    // Shades again the opaque pixels of the changed materials.
    void ShadeChanged();
    // The image from the opaque layer, the translucent one and the outlines.
    void Compose();
    template <class Pixel> void Scan(const ScreenTriangle& t, Pixel&& pixel) const;
    const ShadingTerms& TermsOf(int slot) const;
    bool Translucent(int slot) const;
    std::size_t PixelCount() const;

    ModelTriangles m_triangles;
    Vec3 m_centre{};
    float m_radius = 1.0f;
    std::vector<ShadingTerms> m_terms;
    ShadingTerms m_greyTerms;
    std::vector<bool> m_selected;
    std::vector<bool> m_changed; // by material: shaded again at the next Render
    QSize m_size{1, 1};
    ModelCamera m_camera;

    // How far the image is up to date, from the first step to the last.
    bool m_projected = false;
    bool m_rasterised = false;
    bool m_composed = false;
    bool m_anyChanged = false;

    std::vector<ScreenTriangle> m_screen;
    std::vector<int> m_translucent; // screen triangles, farthest first
    // Per pixel: the opaque layer's depth (1 / distance, 0 for none), screen triangle,
    // material, N.L and log2 N.H; its colour; the material nearest of all layers.
    std::vector<float> m_depth;
    std::vector<std::int32_t> m_triangle;
    std::vector<std::int32_t> m_slot;
    std::vector<float> m_nDotL;
    std::vector<float> m_logHalf;
    std::vector<QRgb> m_opaque;
    std::vector<std::int32_t> m_pick;
    // The pixels the triangles cover (give or take one); what the last rasterisation
    // drew; what it had to redo, outside which everything is background.
    QRect m_screenBounds;
    QRect m_drawn;
    QRect m_work;
    QImage m_image;
};

} // namespace tintara
