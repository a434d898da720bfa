#include "media/SkinMD5.h"

#include "app/Exception.h"
#include "media/MeshGeometry.h"

#include <algorithm>

namespace Korvo {

SkinMD5::SkinMD5(const Media::MeshDataMD5& mesh, const ISkeleton& bindPose)
    : Triangles(mesh.Triangles)
{
    const auto& joints = bindPose.GetJoints();
    for (const Media::WeightRecordMD5& w : mesh.Weights) {
        if (w.Joint < 0 || size_t(w.Joint) >= joints.size())
            throw Sys::Exception("Weight uses joint %d of %zu.", w.Joint, joints.size());
        Weights.push_back({w.Joint, w.Bias, w.Position, {}, {}, {}});
        JointsNeeded = std::max(JointsNeeded, size_t(w.Joint) + 1);
    }
    std::vector<std::array<float, 2>> uv;
    for (const Media::VertexRecordMD5& v : mesh.Vertices) {
        if (v.FirstWeight < 0 || v.WeightCount < 0 ||
            size_t(v.FirstWeight) + size_t(v.WeightCount) > Weights.size())
            throw Sys::Exception("Vertex uses weights %d to %d of %zu.", v.FirstWeight,
                                 v.FirstWeight + v.WeightCount - 1, Weights.size());
        Ranges.push_back({v.FirstWeight, v.WeightCount});
        uv.push_back({v.TexCoord[0], v.TexCoord[1]});
    }
    for (const auto& t : Triangles)
        for (uint16_t i : t)
            if (i >= Ranges.size())
                throw Sys::Exception("Triangle uses vertex %u of %zu.", unsigned(i), Ranges.size());

    BindPositions.assign(Ranges.size(), {});
    for (size_t v = 0; v < Ranges.size(); ++v)
        for (int i = 0; i < Ranges[v].second; ++i) {
            const Weight& w = Weights[Ranges[v].first + i];
            const ISkeleton::JointPose& j = joints[w.Joint];
            BindPositions[v] += (j.P + j.Rotate(w.Position)) * w.Bias;
        }

    BindNormals = MeshGeometry::Normals(BindPositions, Triangles);
    std::vector<Math::Vec3f> tangents, bitangents;
    MeshGeometry::TangentFrame(BindPositions, uv, BindNormals, Triangles, tangents, bitangents);

    for (size_t v = 0; v < Ranges.size(); ++v)
        for (int i = 0; i < Ranges[v].second; ++i) {
            Weight& w = Weights[Ranges[v].first + i];
            const ISkeleton::JointPose& j = joints[w.Joint];
            w.Normal += j.RotateInverse(BindNormals[v]);
            w.Tangent += j.RotateInverse(tangents[v]);
            w.Bitangent += j.RotateInverse(bitangents[v]);
        }
    for (Weight& w : Weights) {
        w.Normal = Math::Normalize(w.Normal);
        w.Tangent = Math::Normalize(w.Tangent);
        w.Bitangent = Math::Normalize(w.Bitangent);
    }
}

void SkinMD5::Skin(const ISkeleton& pose, float* stream, Math::Vec3f* positions) const
{
    const auto& joints = pose.GetJoints();
    if (joints.size() < JointsNeeded)
        throw Sys::Exception("A pose of %zu joints cannot skin a mesh bound to %zu joints.",
                             joints.size(), JointsNeeded);
    for (size_t v = 0; v < Ranges.size(); ++v) {
        Math::Vec3f p, n, t, b;
        const Weight* w = Weights.data() + Ranges[v].first;
        for (int i = 0; i < Ranges[v].second; ++i, ++w) {
            const ISkeleton::JointPose& j = joints[w->Joint];
            p += (j.P + j.Rotate(w->Position)) * w->Bias;
            n += j.Rotate(w->Normal) * w->Bias;
            t += j.Rotate(w->Tangent) * w->Bias;
            b += j.Rotate(w->Bitangent) * w->Bias;
        }
        float* out = stream + v * FloatsPerVertex;
        const Math::Vec3f* vectors[4] = {&p, &n, &t, &b};
        for (int k = 0; k < 4; ++k) {
            out[3 * k] = vectors[k]->x;
            out[3 * k + 1] = vectors[k]->y;
            out[3 * k + 2] = vectors[k]->z;
        }
        positions[v] = p;
    }
}

} // namespace Korvo
