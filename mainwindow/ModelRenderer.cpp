#include "mainwindow/ModelRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace tintara {
namespace {

const QRgb BackgroundColour = qRgb(60, 66, 76);
const QRgb OutlineColour = qRgb(255, 170, 0);

int Byte(float unit) {
    return static_cast<int>(unit * 255.0f + 0.5f);
}

QRgb ToRgb(const std::array<float, 3>& c) {
    return qRgb(Byte(c[0]), Byte(c[1]), Byte(c[2]));
}

bool Finite(const ModelPoint& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

float Dot(const Vec3& a, const Vec3& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vec3 Cross(const Vec3& a, const Vec3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

Vec3 Lerp(const Vec3& a, const Vec3& b, float t) {
    return {a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t};
}

SphereMaterial GreyMaterial() {
    SphereMaterial grey;
    grey.colours[Diffuse] = {0.55f, 0.55f, 0.55f, 1.0f};
    grey.colours[Ambient] = {0.55f, 0.55f, 0.55f, 1.0f};
    grey.colours[Specular] = {0.0f, 0.0f, 0.0f, 1.0f};
    grey.colours[Emissive] = {0.0f, 0.0f, 0.0f, 1.0f};
    return grey;
}

bool SameTerms(const ShadingTerms& a, const ShadingTerms& b) {
    return a.base == b.base && a.diffuse == b.diffuse && a.specular == b.specular &&
           a.power == b.power && a.alpha == b.alpha;
}

} // namespace

void ModelRenderer::SetTriangles(ModelTriangles triangles) {
    m_triangles = std::move(triangles);
    // The simulator's model coordinates are left-handed (x right, y up, z forward); the
    // camera's are right-handed, so x is mirrored once on the way in.
    for (ModelTriangle& t : m_triangles) {
        for (int k = 0; k < 3; ++k) {
            t.position[static_cast<std::size_t>(k)].x = -t.position[static_cast<std::size_t>(k)].x;
            t.normal[static_cast<std::size_t>(k)].x = -t.normal[static_cast<std::size_t>(k)].x;
        }
    }
    // The bounding box's centre and the farthest vertex from it.
    Vec3 low{std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
             std::numeric_limits<float>::max()};
    Vec3 high{-low[0], -low[1], -low[2]};
    bool any = false;
    for (const ModelTriangle& t : m_triangles)
        for (const ModelPoint& p : t.position)
            if (Finite(p)) {
                any = true;
                const Vec3 v{p.x, p.y, p.z};
                for (int c = 0; c < 3; ++c) {
                    low[static_cast<std::size_t>(c)] =
                        std::min(low[static_cast<std::size_t>(c)], v[static_cast<std::size_t>(c)]);
                    high[static_cast<std::size_t>(c)] =
                        std::max(high[static_cast<std::size_t>(c)], v[static_cast<std::size_t>(c)]);
                }
            }
    m_centre =
        any ? Vec3{(low[0] + high[0]) / 2, (low[1] + high[1]) / 2, (low[2] + high[2]) / 2} : Vec3{};
    float radius2 = 0.0f;
    for (const ModelTriangle& t : m_triangles)
        for (const ModelPoint& p : t.position)
            if (Finite(p)) {
                const Vec3 d{p.x - m_centre[0], p.y - m_centre[1], p.z - m_centre[2]};
                radius2 = std::max(radius2, Dot(d, d));
            }
    m_radius = radius2 > 0.0f && std::isfinite(radius2) ? std::sqrt(radius2) : 1.0f;
    Frame();
}

void ModelRenderer::SetMaterials(const std::vector<SphereMaterial>& materials) {
    std::vector<ShadingTerms> terms;
    terms.reserve(materials.size());
    for (const SphereMaterial& m : materials)
        terms.push_back(PrepareShading(m));
    if (terms.size() != m_terms.size()) {
        // Which triangles are grey depends on the count.
        m_terms = std::move(terms);
        m_changed.assign(m_terms.size(), false);
        m_projected = false;
        return;
    }
    for (std::size_t i = 0; i < terms.size(); ++i) {
        if (SameTerms(terms[i], m_terms[i]))
            continue;
        if ((terms[i].alpha < 1.0f) != (m_terms[i].alpha < 1.0f))
            m_rasterised = false;
        m_changed[i] = true;
        m_anyChanged = true;
    }
    m_terms = std::move(terms);
}

void ModelRenderer::SetSelected(std::vector<bool> selected) {
    if (selected == m_selected)
        return;
    m_selected = std::move(selected);
    m_composed = false;
}

void ModelRenderer::SetSize(QSize size) {
    size = size.expandedTo(QSize(1, 1));
    if (size == m_size)
        return;
    m_size = size;
    m_projected = false;
}

void ModelRenderer::Frame() {
    m_camera.Frame(m_centre, m_radius,
                   static_cast<float>(m_size.width()) / static_cast<float>(m_size.height()));
    m_projected = false;
}

const ShadingTerms& ModelRenderer::TermsOf(int slot) const {
    return slot >= 0 ? m_terms[static_cast<std::size_t>(slot)] : m_greyTerms;
}

bool ModelRenderer::Translucent(int slot) const {
    return slot >= 0 && m_terms[static_cast<std::size_t>(slot)].alpha < 1.0f;
}

std::size_t ModelRenderer::PixelCount() const {
    return static_cast<std::size_t>(m_size.width()) * static_cast<std::size_t>(m_size.height());
}

const QImage& ModelRenderer::Render() {
    if (!m_projected)
        Project();
    bool layersChanged = m_anyChanged;
    if (!m_rasterised) {
        Rasterise();
        layersChanged = true;
    } else if (m_anyChanged) {
        ShadeChanged();
    }
    m_anyChanged = false;
    std::fill(m_changed.begin(), m_changed.end(), false);
    if (layersChanged || !m_composed)
        Compose();
    return m_image;
}

void ModelRenderer::Project() {
    m_greyTerms = PrepareShading(GreyMaterial());
    m_screen.clear();
    m_screenBounds = QRect();
    const float nearest = m_radius * 1e-3f;
    for (const ModelTriangle& t : m_triangles) {
        if (!Finite(t.position[0]) || !Finite(t.position[1]) || !Finite(t.position[2]))
            continue;
        std::array<Vec3, 3> at;
        std::array<Vec3, 3> normal;
        for (std::size_t k = 0; k < 3; ++k) {
            const ModelPoint& p = t.position[k];
            at[k] = m_camera.ToCamera({p.x, p.y, p.z});
            const ModelPoint& n = t.normal[k];
            normal[k] = m_camera.RotateToCamera({n.x, n.y, n.z});
        }
        // A missing normal takes the face's, turned towards the viewer.
        Vec3 face = Cross({at[1][0] - at[0][0], at[1][1] - at[0][1], at[1][2] - at[0][2]},
                          {at[2][0] - at[0][0], at[2][1] - at[0][1], at[2][2] - at[0][2]});
        if (Dot(face, at[0]) > 0.0f)
            face = {-face[0], -face[1], -face[2]};
        for (Vec3& n : normal) {
            const float length2 = Dot(n, n);
            if (!(length2 > 1e-20f) || !std::isfinite(length2))
                n = face;
            else
                n = {n[0] / std::sqrt(length2), n[1] / std::sqrt(length2),
                     n[2] / std::sqrt(length2)};
        }
        const int slot = t.material >= 0 && static_cast<std::size_t>(t.material) < m_terms.size()
                             ? t.material
                             : Grey;
        int inFront = 0;
        for (const Vec3& p : at)
            inFront += -p[2] >= nearest ? 1 : 0;
        if (inFront == 3) {
            AddScreenTriangle(at, normal, slot);
            continue;
        }
        if (inFront == 0)
            continue;
        // Cut off by the near plane: the part in front, as one or two triangles.
        std::array<Vec3, 4> clipped;
        std::array<Vec3, 4> clippedNormal;
        std::size_t count = 0;
        for (std::size_t k = 0; k < 3; ++k) {
            const std::size_t next = (k + 1) % 3;
            const float dk = -at[k][2] - nearest;
            const float dn = -at[next][2] - nearest;
            if (dk >= 0.0f) {
                clipped[count] = at[k];
                clippedNormal[count++] = normal[k];
            }
            if ((dk >= 0.0f) != (dn >= 0.0f)) {
                const float s = dk / (dk - dn);
                clipped[count] = Lerp(at[k], at[next], s);
                clippedNormal[count++] = Lerp(normal[k], normal[next], s);
            }
        }
        for (std::size_t k = 2; k < count; ++k)
            AddScreenTriangle({clipped[0], clipped[k - 1], clipped[k]},
                              {clippedNormal[0], clippedNormal[k - 1], clippedNormal[k]}, slot);
    }
    m_projected = true;
    m_rasterised = false;
}

void ModelRenderer::AddScreenTriangle(const std::array<Vec3, 3>& at,
                                      const std::array<Vec3, 3>& normal, int slot) {
    const float focal = ModelCamera::Focal(m_size.height());
    const float halfWidth = static_cast<float>(m_size.width()) / 2.0f;
    const float halfHeight = static_cast<float>(m_size.height()) / 2.0f;
    ScreenTriangle s;
    float w[3];
    for (std::size_t k = 0; k < 3; ++k) {
        w[k] = -1.0f / at[k][2];
        s.x[k] = halfWidth + focal * at[k][0] * w[k];
        s.y[k] = halfHeight - focal * at[k][1] * w[k];
    }
    const float minX = std::min({s.x[0], s.x[1], s.x[2]});
    const float maxX = std::max({s.x[0], s.x[1], s.x[2]});
    const float minY = std::min({s.y[0], s.y[1], s.y[2]});
    const float maxY = std::max({s.y[0], s.y[1], s.y[2]});
    if (maxX < 0.0f || maxY < 0.0f || minX > 2.0f * halfWidth || minY > 2.0f * halfHeight)
        return;
    const float dx1 = s.x[1] - s.x[0], dy1 = s.y[1] - s.y[0];
    const float dx2 = s.x[2] - s.x[0], dy2 = s.y[2] - s.y[0];
    const float area = dx1 * dy2 - dx2 * dy1;
    if (!(std::abs(area) > 1e-6f) || !std::isfinite(area))
        return;
    // The plane through three values over the screen.
    const auto plane = [&](float v0, float v1, float v2) {
        Plane p;
        p.a = ((v1 - v0) * dy2 - (v2 - v0) * dy1) / area;
        p.b = (dx1 * (v2 - v0) - dx2 * (v1 - v0)) / area;
        p.c = v0 - p.a * s.x[0] - p.b * s.y[0];
        return p;
    };
    s.w = plane(w[0], w[1], w[2]);
    for (std::size_t c = 0; c < 3; ++c)
        s.n[c] = plane(normal[0][c], normal[1][c], normal[2][c]);
    s.slot = slot;
    m_screen.push_back(s);
    m_screenBounds |= QRect(
        QPoint(static_cast<int>(std::max(minX, 0.0f)), static_cast<int>(std::max(minY, 0.0f))),
        QPoint(static_cast<int>(std::min(maxX, 2.0f * halfWidth)),
               static_cast<int>(std::min(maxY, 2.0f * halfHeight))));
}

// Calls pixel(index, x, y, w) for each pixel whose centre the triangle covers (edges
// shared by two triangles belong to one of them), with the pixel centre's 1 / depth.
template <class Pixel> void ModelRenderer::Scan(const ScreenTriangle& t, Pixel&& pixel) const {
    const int width = m_size.width();
    const int height = m_size.height();
    const float lowX = std::min({t.x[0], t.x[1], t.x[2]});
    const float highX = std::max({t.x[0], t.x[1], t.x[2]});
    const float lowY = std::min({t.y[0], t.y[1], t.y[2]});
    const float highY = std::max({t.y[0], t.y[1], t.y[2]});
    const int minX = std::max(0, static_cast<int>(std::ceil(lowX - 0.5f)));
    const int maxX = std::min(width - 1, static_cast<int>(std::floor(highX - 0.5f)));
    const int minY = std::max(0, static_cast<int>(std::ceil(lowY - 0.5f)));
    const int maxY = std::min(height - 1, static_cast<int>(std::floor(highY - 0.5f)));
    if (minX > maxX || minY > maxY)
        return;
    const float area =
        (t.x[1] - t.x[0]) * (t.y[2] - t.y[0]) - (t.x[2] - t.x[0]) * (t.y[1] - t.y[0]);
    const float sign = area > 0.0f ? 1.0f : -1.0f;
    float a[3], b[3], c[3];
    bool topLeft[3];
    for (int k = 0; k < 3; ++k) {
        const int next = (k + 1) % 3;
        a[k] = -(t.y[next] - t.y[k]) * sign;
        b[k] = (t.x[next] - t.x[k]) * sign;
        c[k] = -(a[k] * t.x[k] + b[k] * t.y[k]);
        topLeft[k] = a[k] > 0.0f || (a[k] == 0.0f && b[k] > 0.0f);
    }
    for (int y = minY; y <= maxY; ++y) {
        const float py = static_cast<float>(y) + 0.5f;
        // The columns where every edge function can be positive, a pixel wider on each
        // side than worked out, so rounding never loses one; the exact test decides.
        float low = static_cast<float>(minX);
        float high = static_cast<float>(maxX);
        for (int k = 0; k < 3; ++k) {
            const float rest = b[k] * py + c[k]; // e = a x + rest
            if (a[k] > 0.0f)
                low = std::max(low, -rest / a[k] - 1.5f);
            else if (a[k] < 0.0f)
                high = std::min(high, -rest / a[k] + 0.5f);
            else if (rest < 0.0f)
                high = -1.0f;
        }
        if (!(low <= high))
            continue;
        const int first = static_cast<int>(low);
        const int last = static_cast<int>(high);
        const float px0 = static_cast<float>(first) + 0.5f;
        float e0 = a[0] * px0 + b[0] * py + c[0];
        float e1 = a[1] * px0 + b[1] * py + c[1];
        float e2 = a[2] * px0 + b[2] * py + c[2];
        float w = t.w.At(px0, py);
        std::size_t index = static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                            static_cast<std::size_t>(first);
        for (int x = first; x <= last; ++x, ++index) {
            if ((e0 > 0.0f || (e0 == 0.0f && topLeft[0])) &&
                (e1 > 0.0f || (e1 == 0.0f && topLeft[1])) &&
                (e2 > 0.0f || (e2 == 0.0f && topLeft[2])))
                pixel(index, static_cast<float>(x) + 0.5f, py, w);
            e0 += a[0];
            e1 += a[1];
            e2 += a[2];
            w += t.w.a;
        }
    }
}

namespace {

// N.L and log2 N.H of the triangle's interpolated normal at a pixel centre.
struct Lighting {
    float nDotL;
    float logHalf;
};

template <class Triangle>
Lighting LightingAt(const Triangle& t, float x, float y, const Vec3& light, const Vec3& half) {
    const Vec3 n{t.n[0].At(x, y), t.n[1].At(x, y), t.n[2].At(x, y)};
    const float length2 = Dot(n, n);
    if (!(length2 > 0.0f))
        return {0.0f, 0.0f};
    const float inverse = 1.0f / std::sqrt(length2);
    const float nDotL = Dot(n, light) * inverse;
    if (!(nDotL > 0.0f))
        return {nDotL, 0.0f};
    return {nDotL, std::log2(std::max(Dot(n, half) * inverse, 1e-30f))};
}

} // namespace

void ModelRenderer::Rasterise() {
    const std::size_t pixels = PixelCount();
    const int width = m_size.width();
    if (m_image.size() != m_size) {
        // Every buffer starts as background; later frames only touch what they draw.
        m_depth.assign(pixels, 0.0f);
        m_triangle.assign(pixels, -1);
        m_slot.assign(pixels, Background);
        m_nDotL.assign(pixels, 0.0f);
        m_logHalf.assign(pixels, 0.0f);
        m_opaque.assign(pixels, BackgroundColour);
        m_pick.assign(pixels, Background);
        m_image = QImage(m_size, QImage::Format_RGB32);
        m_image.fill(BackgroundColour);
        m_drawn = QRect(QPoint(), m_size);
    }
    // What this frame draws and what the last one drew, one pixel wider for outlines.
    const QRect bounds = m_screenBounds.isNull()
                             ? QRect()
                             : m_screenBounds.adjusted(-1, -1, 1, 1) & QRect(QPoint(), m_size);
    m_work = (bounds | m_drawn) & QRect(QPoint(), m_size);
    m_drawn = bounds;
    const auto rowStart = [&](int row) {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(m_work.left());
    };
    const auto span = static_cast<std::size_t>(std::max(0, m_work.width()));
    for (int row = m_work.top(); row <= m_work.bottom(); ++row) {
        std::fill_n(m_depth.begin() + static_cast<std::ptrdiff_t>(rowStart(row)), span, 0.0f);
        std::fill_n(m_triangle.begin() + static_cast<std::ptrdiff_t>(rowStart(row)), span, -1);
    }

    m_translucent.clear();
    for (std::size_t id = 0; id < m_screen.size(); ++id) {
        const ScreenTriangle& t = m_screen[id];
        if (Translucent(t.slot)) {
            m_translucent.push_back(static_cast<int>(id));
            continue;
        }
        const auto triangle = static_cast<std::int32_t>(id);
        Scan(t, [this, triangle](std::size_t p, float, float, float w) {
            if (w > m_depth[p]) {
                m_depth[p] = w;
                m_triangle[p] = triangle;
            }
        });
    }
    // Farthest first, by the depth at the corners' mean.
    const auto meanDepth = [this](int id) {
        const ScreenTriangle& t = m_screen[static_cast<std::size_t>(id)];
        return t.w.At((t.x[0] + t.x[1] + t.x[2]) / 3.0f, (t.y[0] + t.y[1] + t.y[2]) / 3.0f);
    };
    std::stable_sort(m_translucent.begin(), m_translucent.end(),
                     [&](int l, int r) { return meanDepth(l) < meanDepth(r); });

    // The opaque layer's colours, and what a colour change needs of each of its pixels.
    const Vec3 light = LightDirection();
    const Vec3 half = HalfDirection();
    for (int row = m_work.top(); row <= m_work.bottom(); ++row) {
        const float y = static_cast<float>(row) + 0.5f;
        std::size_t p = rowStart(row);
        for (int column = m_work.left(); column <= m_work.right(); ++column, ++p) {
            const std::int32_t id = m_triangle[p];
            if (id < 0) {
                m_slot[p] = Background;
                m_opaque[p] = BackgroundColour;
                continue;
            }
            const ScreenTriangle& t = m_screen[static_cast<std::size_t>(id)];
            const Lighting lit = LightingAt(t, static_cast<float>(column) + 0.5f, y, light, half);
            m_slot[p] = t.slot;
            m_nDotL[p] = lit.nDotL;
            m_logHalf[p] = lit.logHalf;
            m_opaque[p] = ToRgb(Shade(TermsOf(t.slot), lit.nDotL, lit.logHalf));
        }
    }
    m_rasterised = true;
}

void ModelRenderer::ShadeChanged() {
    const int width = m_size.width();
    for (int row = m_work.top(); row <= m_work.bottom(); ++row) {
        std::size_t p = static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
                        static_cast<std::size_t>(m_work.left());
        for (int column = m_work.left(); column <= m_work.right(); ++column, ++p) {
            const std::int32_t slot = m_slot[p];
            if (slot >= 0 && m_changed[static_cast<std::size_t>(slot)])
                m_opaque[p] = ToRgb(Shade(TermsOf(slot), m_nDotL[p], m_logHalf[p]));
        }
    }
}

void ModelRenderer::Compose() {
    // Everything outside the work area is background in every buffer and the image.
    const int width = m_size.width();
    const auto span = static_cast<std::size_t>(std::max(0, m_work.width()));
    for (int row = m_work.top(); row <= m_work.bottom(); ++row) {
        const std::size_t start = static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
                                  static_cast<std::size_t>(m_work.left());
        std::memcpy(reinterpret_cast<QRgb*>(m_image.scanLine(row)) + m_work.left(),
                    m_opaque.data() + start, span * sizeof(QRgb));
        std::copy_n(m_slot.begin() + static_cast<std::ptrdiff_t>(start), span,
                    m_pick.begin() + static_cast<std::ptrdiff_t>(start));
    }
    m_composed = true;

    // The translucent layer over the opaque one, each triangle where nothing opaque
    // hides it.
    const Vec3 light = LightDirection();
    const Vec3 half = HalfDirection();
    for (const int id : m_translucent) {
        const ScreenTriangle& t = m_screen[static_cast<std::size_t>(id)];
        const ShadingTerms& terms = TermsOf(t.slot);
        const float alpha = terms.alpha;
        Scan(t, [&](std::size_t p, float x, float y, float w) {
            if (w <= m_depth[p])
                return;
            const Lighting lit = LightingAt(t, x, y, light, half);
            const std::array<float, 3> colour = Shade(terms, lit.nDotL, lit.logHalf);
            QRgb& under =
                reinterpret_cast<QRgb*>(m_image.scanLine(static_cast<int>(y)))[static_cast<int>(x)];
            const float behind[3] = {static_cast<float>(qRed(under)) / 255.0f,
                                     static_cast<float>(qGreen(under)) / 255.0f,
                                     static_cast<float>(qBlue(under)) / 255.0f};
            std::array<float, 3> mixed;
            for (std::size_t c = 0; c < 3; ++c)
                mixed[c] = alpha * colour[c] + (1.0f - alpha) * behind[c];
            under = ToRgb(mixed);
            m_pick[p] = t.slot;
        });
    }

    if (std::find(m_selected.begin(), m_selected.end(), true) == m_selected.end())
        return;
    const auto selected = [this](std::int32_t slot) {
        return slot >= 0 && static_cast<std::size_t>(slot) < m_selected.size() &&
               m_selected[static_cast<std::size_t>(slot)];
    };
    // A pixel just outside a selected material's part, around all of it.
    const int height = m_size.height();
    const std::int32_t* pick = m_pick.data();
    for (int y = m_work.top(); y <= m_work.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        const std::int32_t* row =
            pick + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        for (int x = m_work.left(); x <= m_work.right(); ++x) {
            const std::int32_t here = row[x];
            const auto marks = [&](std::int32_t there) { return there != here && selected(there); };
            if ((x > 0 && marks(row[x - 1])) || (x + 1 < width && marks(row[x + 1])) ||
                (y > 0 && marks(row[x - width])) || (y + 1 < height && marks(row[x + width])))
                line[x] = OutlineColour;
        }
    }
}

int ModelRenderer::MaterialAt(QPoint pixel) const {
    if (!m_composed || pixel.x() < 0 || pixel.y() < 0 || pixel.x() >= m_size.width() ||
        pixel.y() >= m_size.height())
        return NoMaterial;
    const std::int32_t slot =
        m_pick[static_cast<std::size_t>(pixel.y()) * static_cast<std::size_t>(m_size.width()) +
               static_cast<std::size_t>(pixel.x())];
    return slot >= 0 ? slot : NoMaterial;
}

std::array<float, 2> ModelRenderer::Normalised(QPoint pixel) const {
    const float half = static_cast<float>(m_size.height()) / 2.0f;
    return {(static_cast<float>(pixel.x()) + 0.5f - static_cast<float>(m_size.width()) / 2.0f) /
                half,
            (half - static_cast<float>(pixel.y()) - 0.5f) / half};
}

std::optional<Vec3> ModelRenderer::PointAt(QPoint pixel) const {
    if (!m_composed || pixel.x() < 0 || pixel.y() < 0 || pixel.x() >= m_size.width() ||
        pixel.y() >= m_size.height())
        return std::nullopt;
    const float w =
        m_depth[static_cast<std::size_t>(pixel.y()) * static_cast<std::size_t>(m_size.width()) +
                static_cast<std::size_t>(pixel.x())];
    if (!(w > 0.0f))
        return std::nullopt;
    const auto [x, y] = Normalised(pixel);
    return m_camera.PointOnRay(x, y, 1.0f / w);
}

} // namespace tintara
