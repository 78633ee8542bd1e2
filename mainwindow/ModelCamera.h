#pragma once
// Where the model view looks from: a perspective camera that frames a bounding sphere
// from a three-quarter view, orbits around the model's centre, pans, and zooms towards
// a point under the cursor. Model coordinates have y up; the camera's own coordinates
// have x right, y up and z towards the viewer, as the shading's light expects.

#include <array>

namespace tintara {

using Vec3 = std::array<float, 3>;

class ModelCamera {
public:
    // The vertical field of view, in radians.
    static constexpr float FieldOfView = 0.6f;

    // Looks at the sphere from the front left, somewhat above, so that all of it shows
    // in a view of the given aspect (width / height).
    void Frame(const Vec3& centre, float radius, float aspect);

    // Turns the camera around the framed centre: `yaw` about the vertical, `pitch` up or
    // down (kept short of straight up and down), both in radians.
    void Orbit(float yaw, float pitch);
    // Moves the camera sideways in its own plane by a fraction of the view's height.
    void Pan(float right, float up);
    // Moves the camera towards (factor < 1) or away from `point` (factor > 1), which then
    // stays where it was on the screen.
    void ZoomTowards(const Vec3& point, float factor);

    // A model point in the camera's coordinates (z < 0 in front of it).
    Vec3 ToCamera(const Vec3& point) const;
    // A direction (a normal) in the camera's coordinates.
    Vec3 RotateToCamera(const Vec3& direction) const;
    // The point at distance `depth` in front of the camera on the ray through `x`, `y`,
    // given in the view's normalised coordinates (-1..1 across the height, y up).
    Vec3 PointOnRay(float x, float y, float depth) const;

    // Pixels per unit of x / -z (and y / -z) for a view `height` pixels tall.
    static float Focal(int height);

    const Vec3& Eye() const { return m_eye; }
    const Vec3& Centre() const { return m_centre; }
    float Radius() const { return m_radius; }

private:
    void UpdateAxes();

    Vec3 m_centre{};
    float m_radius = 1.0f;
    Vec3 m_eye{0, 0, 1};
    float m_yaw = 0.0f;
    float m_pitch = 0.0f;
    // The camera's axes in model coordinates.
    Vec3 m_right{1, 0, 0};
    Vec3 m_up{0, 1, 0};
    Vec3 m_back{0, 0, 1};
};

} // namespace tintara
