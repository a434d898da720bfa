#include "media/SkeletonMD5.h"

#include "media/ISkeletonHierarchy.h"

#include <GL/glew.h>

#include "app/Exception.h"

#include <cmath>

namespace Korvo {

float SkeletonMD5::ComputeW(float x, float y, float z)
{
    const float r = 1.0f - (x * x + y * y + z * z);
    return r >= 1e-6f ? -std::sqrt(r) : 0.0f;
}

void SkeletonMD5::ComputeRotation(JointPose& j)
{
    const float x = j.Q[0], y = j.Q[1], z = j.Q[2], w = j.Q[3];
    const float n = x * x + y * y + z * z + w * w;
    const float s = n > 0.0f ? 2.0f / n : 0.0f;
    const float xs = x * s, ys = y * s, zs = z * s;
    const float wx = w * xs, wy = w * ys, wz = w * zs;
    const float xx = x * xs, xy = x * ys, xz = x * zs;
    const float yy = y * ys, yz = y * zs, zz = z * zs;
    // Column-major: element (row i, column j) at i + 3 j.
    float* R = j.R;
    R[0] = 1.0f - (yy + zz);
    R[1] = xy + wz;
    R[2] = xz - wy;
    R[3] = xy - wz;
    R[4] = 1.0f - (xx + zz);
    R[5] = yz + wx;
    R[6] = xz + wy;
    R[7] = yz - wx;
    R[8] = 1.0f - (xx + yy);
}

void SkeletonMD5::Multiply(const float a[4], const float b[4], float out[4])
{
    const float x = a[3] * b[0] + a[0] * b[3] + a[1] * b[2] - a[2] * b[1];
    const float y = a[3] * b[1] - a[0] * b[2] + a[1] * b[3] + a[2] * b[0];
    const float z = a[3] * b[2] + a[0] * b[1] - a[1] * b[0] + a[2] * b[3];
    const float w = a[3] * b[3] - a[0] * b[0] - a[1] * b[1] - a[2] * b[2];
    out[0] = x;
    out[1] = y;
    out[2] = z;
    out[3] = w;
}

Math::Vec3f SkeletonMD5::RotateByQuaternion(const float q[4], const Math::Vec3f& v)
{
    // q v q*, with v as a pure quaternion.
    const float p[4] = {v.x, v.y, v.z, 0.0f};
    const float conj[4] = {-q[0], -q[1], -q[2], q[3]};
    float t[4], r[4];
    Multiply(q, p, t);
    Multiply(t, conj, r);
    return {r[0], r[1], r[2]};
}

void SkeletonMD5::Translate(const Math::Vec3f& Offset)
{
    for (JointPose& j : Joints)
        j.P += Offset;
}

void SkeletonMD5::Interpolate(const ISkeleton& Curr, const ISkeleton& Next, float t)
{
    const std::vector<JointPose>& a = Curr.GetJoints();
    const std::vector<JointPose>& b = Next.GetJoints();
    if (a.size() != b.size() || a.size() != Joints.size())
        throw Sys::Exception("Invalid <Curr> or <Next> parameter.");
    if (!(t >= 0.0f && t <= 1.0f))
        throw Sys::Exception("Invalid <t> parameter.");

    for (size_t i = 0; i < Joints.size(); ++i) {
        const float* q0 = a[i].Q;
        const float* q1 = b[i].Q;
        const float d = q0[0] * q1[0] + q0[1] * q1[1] + q0[2] * q1[2] + q0[3] * q1[3];
        float q[4];
        for (int k = 0; k < 4; ++k)
            q[k] = d >= 0.0f ? q0[k] + t * (q1[k] - q0[k]) : q0[k] - t * (q0[k] + q1[k]);

        float length = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
        if (length < 1e-6f) {
            const float sum = std::fabs(q[0]) + std::fabs(q[1]) + std::fabs(q[2]) + std::fabs(q[3]);
            if (sum > 0.0f) {
                for (float& c : q)
                    c /= sum;
            } else {
                q[0] = q[1] = q[2] = 0.0f;
                q[3] = 1.0f;
            }
            length = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
        }
        JointPose& j = Joints[i];
        for (int k = 0; k < 4; ++k)
            j.Q[k] = q[k] / length;
        j.P = a[i].P + (b[i].P - a[i].P) * t;
        ComputeRotation(j);
    }
}

} // namespace Korvo

namespace Korvo {

void SkeletonMD5::Draw(const ISkeletonHierarchy* Hierarchy) const
{
    glPushMatrix();
    glPointSize(4.0f);
    glColor4f(1.0f, 0.0f, 0.0f, 0.6f);
    glBegin(GL_POINTS);
    for (const JointPose& joint : Joints)
        glVertex3f(joint.P.x, joint.P.y, joint.P.z);
    glEnd();

    if (Hierarchy != nullptr) {
        glColor4f(1.0f, 1.0f, 0.0f, 0.4f);
        glBegin(GL_LINES);
        const auto& joints = Hierarchy->GetJoints();
        for (size_t i = 0; i < Joints.size() && i < joints.size(); ++i) {
            const int parent = joints[i].Parent;
            if (parent < 0 || static_cast<size_t>(parent) >= Joints.size())
                continue;
            glVertex3f(Joints[i].P.x, Joints[i].P.y, Joints[i].P.z);
            glVertex3f(Joints[parent].P.x, Joints[parent].P.y, Joints[parent].P.z);
        }
        glEnd();
    }

    // Each joint's local x axis, two units long.
    glColor4f(0.0f, 0.65f, 1.0f, 0.6f);
    glBegin(GL_LINES);
    for (const JointPose& joint : Joints) {
        const Math::Vec3f tip = joint.P + joint.Rotate(Math::Vec3f(2.0f, 0.0f, 0.0f));
        glVertex3f(joint.P.x, joint.P.y, joint.P.z);
        glVertex3f(tip.x, tip.y, tip.z);
    }
    glEnd();
    glPopMatrix();
}

} // namespace Korvo
