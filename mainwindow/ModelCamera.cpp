#include "mainwindow/ModelCamera.h"

#include <algorithm>
#include <cmath>

namespace tintara {
namespace {

float Dot(const Vec3& a, const Vec3& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vec3 Add(const Vec3& a, const Vec3& b, float scale = 1.0f) {
    return {a[0] + b[0] * scale, a[1] + b[1] * scale, a[2] + b[2] * scale};
}

Vec3 Sub(const Vec3& a, const Vec3& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

constexpr float MaxPitch = 1.5f;
// The framing view: from the front left of a model whose nose points along +z, above.
constexpr float FrameYaw = 0.8f;
constexpr float FramePitch = 0.45f;

} // namespace

float ModelCamera::Focal(int height) {
    return static_cast<float>(height) / 2.0f / std::tan(FieldOfView / 2.0f);
}

void ModelCamera::UpdateAxes() {
    const float cy = std::cos(m_yaw), sy = std::sin(m_yaw);
    const float cp = std::cos(m_pitch), sp = std::sin(m_pitch);
    // Back points from the centre towards the eye.
    m_back = {sy * cp, sp, cy * cp};
    m_right = {cy, 0.0f, -sy};
    m_up = {-sy * sp, cp, -cy * sp};
}

void ModelCamera::Frame(const Vec3& centre, float radius, float aspect) {
    m_centre = centre;
    m_radius = radius > 0.0f && std::isfinite(radius) ? radius : 1.0f;
    m_yaw = FrameYaw;
    m_pitch = FramePitch;
    UpdateAxes();
    // The narrower of the two fields of view decides the distance.
    const float half = FieldOfView / 2.0f;
    const float horizontal = std::atan(std::tan(half) * std::max(aspect, 0.01f));
    const float distance = m_radius / std::sin(std::min(half, horizontal)) * 1.05f;
    m_eye = Add(m_centre, m_back, distance);
}

void ModelCamera::Orbit(float yaw, float pitch) {
    // The eye keeps its place relative to the camera's axes while they turn about the
    // centre.
    const Vec3 offset = Sub(m_eye, m_centre);
    const Vec3 local{Dot(offset, m_right), Dot(offset, m_up), Dot(offset, m_back)};
    m_yaw += yaw;
    m_pitch = std::clamp(m_pitch + pitch, -MaxPitch, MaxPitch);
    UpdateAxes();
    m_eye = Add(Add(Add(m_centre, m_right, local[0]), m_up, local[1]), m_back, local[2]);
}

void ModelCamera::Pan(float right, float up) {
    // At the centre's distance, a view height spans 2 tan(fov / 2) x distance.
    const float depth = std::max(std::abs(Dot(Sub(m_eye, m_centre), m_back)), m_radius * 0.01f);
    const float span = 2.0f * std::tan(FieldOfView / 2.0f) * depth;
    m_eye = Add(Add(m_eye, m_right, -right * span), m_up, -up * span);
}

void ModelCamera::ZoomTowards(const Vec3& point, float factor) {
    const Vec3 offset = Sub(m_eye, point);
    // Never closer than a small part of the model's size.
    const float distance = std::sqrt(Dot(offset, offset));
    const float least = m_radius * 0.02f;
    if (distance * factor < least)
        factor = distance > least ? least / distance : 1.0f;
    m_eye = Add(point, offset, factor);
}

Vec3 ModelCamera::ToCamera(const Vec3& point) const {
    const Vec3 d = Sub(point, m_eye);
    return {Dot(d, m_right), Dot(d, m_up), Dot(d, m_back)};
}

Vec3 ModelCamera::RotateToCamera(const Vec3& direction) const {
    return {Dot(direction, m_right), Dot(direction, m_up), Dot(direction, m_back)};
}

Vec3 ModelCamera::PointOnRay(float x, float y, float depth) const {
    const float scale = std::tan(FieldOfView / 2.0f) * depth;
    return Add(Add(Add(m_eye, m_back, -depth), m_right, x * scale), m_up, y * scale);
}

} // namespace tintara
