#include "media/ModelLoaderMD5.h"

#include "app/Exception.h"
#include "media/MeshMD5.h"
#include "media/SkeletalAnimationMD5.h"
#include "media/SkeletonHierarchyMD5.h"

namespace Media {

namespace {

// File axes (x, y, z) to the engine's (x, z, -y).
Math::Vec3f FromFileAxes(float x, float y, float z) { return {x, z, -y}; }

std::string Unquote(const std::string& word)
{
    std::string name;
    for (char c : word)
        if (c != '"')
            name += c;
    return name;
}

// Indices are kept as unsigned 16-bit values, so a mesh holds at most 65536 vertices.
constexpr int MaxVertices = 65536;

void ReadMesh(TextFileMD5& file, int numJoints, MeshDataMD5& mesh)
{
    file.SeekChunk("mesh");
    std::string name;
    if (ScanText(file.CurrentLine(), "\t// meshes: %s", {&name}))
        mesh.Name = name;
    mesh.Shader = file.ReadString("shader");

    const int numVerts = file.ReadInteger("numverts");
    if (numVerts < 1)
        throw Sys::Exception("Invalid number of vertices: %d.", numVerts);
    if (numVerts > MaxVertices)
        throw Sys::Exception("Too many vertices: %d, at most %d.", numVerts, MaxVertices);
    // Lists grow record by record: a count larger than the file runs out of records
    // long before it could claim memory.
    for (int i = 0; i < numVerts; ++i) {
        int index = 0, first = 0, count = 0;
        float s = 0, t = 0;
        if (!file.ScanRecord("\tvert %d ( %f %f ) %d %d", {&index, &s, &t, &first, &count}))
            throw Sys::Exception("Failed to read vertex %d of %d.", i, numVerts);
        VertexRecordMD5 v;
        v.TexCoord[0] = 1.0f - t;
        v.TexCoord[1] = s;
        v.FirstWeight = first;
        v.WeightCount = count;
        mesh.Vertices.push_back(v);
    }

    const int numTris = file.ReadInteger("numtris");
    if (numTris < 1)
        throw Sys::Exception("Invalid number of triangles: %d.", numTris);
    for (int i = 0; i < numTris; ++i) {
        int index = 0, a = 0, b = 0, c = 0;
        if (!file.ScanRecord("\ttri %d %d %d %d", {&index, &a, &b, &c}))
            throw Sys::Exception("Failed to read triangle %d of %d.", i, numTris);
        for (int corner : {a, b, c})
            if (corner < 0 || corner >= numVerts)
                throw Sys::Exception("Triangle %d uses vertex %d of %d.", i, corner, numVerts);
        // The axis change mirrors the model, so the winding is reversed with it.
        mesh.Triangles.push_back(
            {static_cast<uint16_t>(a), static_cast<uint16_t>(c), static_cast<uint16_t>(b)});
    }

    const int numWeights = file.ReadInteger("numweights");
    if (numWeights < 1)
        throw Sys::Exception("Invalid number of weights: %d.", numWeights);
    for (int i = 0; i < numWeights; ++i) {
        int index = 0, joint = 0;
        float bias = 0, x = 0, y = 0, z = 0;
        if (!file.ScanRecord("\tweight %d %d %f ( %f %f %f )", {&index, &joint, &bias, &x, &y, &z}))
            throw Sys::Exception("Failed to read weight %d of %d.", i, numWeights);
        if (joint < 0 || joint >= numJoints)
            throw Sys::Exception("Weight %d uses joint %d of %d.", i, joint, numJoints);
        mesh.Weights.push_back({joint, bias, FromFileAxes(x, y, z)});
    }

    for (int i = 0; i < numVerts; ++i) {
        const VertexRecordMD5& v = mesh.Vertices[i];
        if (v.FirstWeight < 0 || v.WeightCount < 0 || v.FirstWeight > numWeights ||
            v.WeightCount > numWeights - v.FirstWeight)
            throw Sys::Exception("Vertex %d uses weights %d to %d of %d.", i, v.FirstWeight,
                                 v.FirstWeight + v.WeightCount - 1, numWeights);
    }
}

} // namespace

void ModelLoaderMD5::ParseMesh(TextFileMD5& file, const JointsHandler& onJoints,
                               const MeshHandler& onMesh)
{
    const int version = file.ReadInteger("MD5Version");
    if (version != Version)
        throw Sys::Exception("Unsupported MD5 file version: %d, must be %d.", version, Version);
    file.ReadString("commandline");
    const int numJoints = file.ReadInteger("numJoints");
    if (numJoints <= 0)
        throw Sys::Exception("Invalid number of joints: %d.", numJoints);
    const int numMeshes = file.ReadInteger("numMeshes");
    if (numMeshes <= 0)
        throw Sys::Exception("Invalid number of meshes: %d.", numMeshes);

    file.SeekChunk("joints");
    std::vector<JointRecordMD5> joints;
    for (int i = 0; i < numJoints; ++i) {
        std::string name;
        int parent = 0;
        float px = 0, py = 0, pz = 0, qx = 0, qy = 0, qz = 0;
        if (!file.ScanRecord("%s %d ( %f %f %f ) ( %f %f %f )",
                             {&name, &parent, &px, &py, &pz, &qx, &qy, &qz}))
            throw Sys::Exception("Failed to read joint %d of %d.", i, numJoints);
        // Joints come after their parents; anything else cannot be posed.
        if (parent < -1 || parent >= i)
            throw Sys::Exception("Invalid parent %d of joint %d.", parent, i);
        joints.push_back(
            {Unquote(name), parent, FromFileAxes(px, py, pz), FromFileAxes(qx, qy, qz)});
    }
    onJoints(joints);

    for (int m = 0; m < numMeshes; ++m) {
        MeshDataMD5 mesh;
        ReadMesh(file, numJoints, mesh);
        onMesh(mesh);
    }
}

Sys::Ptr<Korvo::SkeletonMD5> ModelLoaderMD5::BuildBindPose(
    const std::vector<JointRecordMD5>& joints)
{
    Sys::Ptr<Korvo::SkeletonMD5> pose(new Korvo::SkeletonMD5(joints.size()));
    for (size_t i = 0; i < joints.size(); ++i) {
        Korvo::ISkeleton::JointPose& j = pose->GetJoints()[i];
        const Math::Vec3f& q = joints[i].Orientation;
        j.Q[0] = q.x;
        j.Q[1] = q.y;
        j.Q[2] = q.z;
        j.Q[3] = Korvo::SkeletonMD5::ComputeW(q.x, q.y, q.z);
        j.P = joints[i].Position;
        Korvo::SkeletonMD5::ComputeRotation(j);
    }
    return pose;
}

Sys::Ptr<Korvo::ISkeletalAnimation> ModelLoaderMD5::ParseAnimation(TextFileMD5& file)
{
    const int version = file.ReadInteger("MD5Version");
    if (version != Version)
        throw Sys::Exception("Unsupported .md5anim file version: %d, must be %d.", version,
                             Version);
    file.ReadString("commandline");
    const int numFrames = file.ReadInteger("numFrames");
    if (numFrames <= 0)
        throw Sys::Exception("Invalid <numFrames> value: %d.", numFrames);
    const int numJoints = file.ReadInteger("numJoints");
    if (numJoints <= 0)
        throw Sys::Exception("Invalid <numJoints> value: %d.", numJoints);
    const int frameRate = file.ReadInteger("frameRate");
    if (frameRate <= 0)
        throw Sys::Exception("Invalid <frameRate> value: %d.", frameRate);
    const int numComponents = file.ReadInteger("numAnimatedComponents");
    if (numComponents < 0)
        throw Sys::Exception("Invalid <numAnimatedComponents> value: %d.", numComponents);

    file.SeekChunk("hierarchy");
    std::vector<Korvo::ISkeletonHierarchy::Joint> hierarchy;
    for (int i = 0; i < numJoints; ++i) {
        std::string name;
        int parent = 0, flags = 0, start = 0;
        if (!file.ScanRecord("\t%s %d %d %d", {&name, &parent, &flags, &start}))
            throw Sys::Exception("Failed to read hierarchy entry %d of %d.", i, numJoints);
        if (parent < -1 || parent >= i)
            throw Sys::Exception("Invalid parent %d of joint %d.", parent, i);
        int used = 0;
        for (int bit = 0; bit < 6; ++bit)
            if (flags & (1 << bit))
                ++used;
        if (start < 0 || start > numComponents || used > numComponents - start)
            throw Sys::Exception("Joint %d reads animated components %d to %d of %d.", i, start,
                                 start + used - 1, numComponents);
        hierarchy.push_back({Unquote(name), parent, flags, start});
    }

    file.SeekChunk("bounds");
    for (int i = 0; i < numFrames; ++i) {
        float b[6];
        if (!file.ScanRecord("\t( %f %f %f ) ( %f %f %f )",
                             {&b[0], &b[1], &b[2], &b[3], &b[4], &b[5]}))
            throw Sys::Exception("Failed to read bounds %d of %d.", i, numFrames);
    }

    file.SeekChunk("baseframe");
    std::vector<JointRecordMD5> base;
    for (int i = 0; i < numJoints; ++i) {
        float px = 0, py = 0, pz = 0, qx = 0, qy = 0, qz = 0;
        if (!file.ScanRecord("\t( %f %f %f ) ( %f %f %f )", {&px, &py, &pz, &qx, &qy, &qz}))
            throw Sys::Exception("Failed to read base frame entry %d of %d.", i, numJoints);
        base.push_back({"", 0, FromFileAxes(px, py, pz), FromFileAxes(qx, qy, qz)});
    }

    std::vector<Sys::Ptr<Korvo::ISkeletalAnimation::Frame>> frames;
    std::vector<float> values;
    for (int f = 0; f < numFrames; ++f) {
        file.SeekFrame(f);
        values.clear();
        for (int i = 0; i < numComponents; ++i) {
            float v = 0;
            if (!file.ScanOnce(" %f", {&v}))
                throw Sys::Exception("Failed to read animated components.");
            values.push_back(v);
        }

        Sys::Ptr<Korvo::SkeletonMD5> pose(new Korvo::SkeletonMD5(numJoints));
        for (int j = 0; j < numJoints; ++j) {
            const Korvo::ISkeletonHierarchy::Joint& h = hierarchy[j];
            Math::Vec3f p = base[j].Position;
            Math::Vec3f q = base[j].Orientation;
            int next = h.StartIndex;
            // Components in file order; the file's y is the engine's -z, its z the engine's y.
            auto apply = [&](int bit, Math::Vec3f& v, int axis) {
                if (!(h.Flags & bit))
                    return;
                const float value = values[next++];
                if (axis == 0)
                    v.x = value;
                else if (axis == 1)
                    v.z = -value;
                else
                    v.y = value;
            };
            apply(1, p, 0);
            apply(2, p, 1);
            apply(4, p, 2);
            apply(8, q, 0);
            apply(16, q, 1);
            apply(32, q, 2);

            Korvo::ISkeleton::JointPose& joint = pose->GetJoints()[j];
            joint.Q[0] = q.x;
            joint.Q[1] = q.y;
            joint.Q[2] = q.z;
            joint.Q[3] = Korvo::SkeletonMD5::ComputeW(q.x, q.y, q.z);
            joint.P = p;
            if (h.Parent >= 0) {
                const Korvo::ISkeleton::JointPose& parent = pose->GetJoints()[h.Parent];
                joint.P = parent.P + Korvo::SkeletonMD5::RotateByQuaternion(parent.Q, p);
                float combined[4];
                Korvo::SkeletonMD5::Multiply(parent.Q, joint.Q, combined);
                for (int k = 0; k < 4; ++k)
                    joint.Q[k] = combined[k];
            }
            Korvo::SkeletonMD5::ComputeRotation(joint);
        }
        frames.push_back(Sys::Ptr<Korvo::ISkeletalAnimation::Frame>(
            new Korvo::ISkeletalAnimation::Frame{Sys::Ptr<Korvo::ISkeleton>(pose)}));
    }

    Sys::Ptr<Korvo::ISkeletonHierarchy> joints(new Korvo::SkeletonHierarchyMD5(hierarchy));
    return Sys::Ptr<Korvo::ISkeletalAnimation>(
        new Korvo::SkeletalAnimationMD5(joints, frames, frameRate));
}

void ModelLoaderMD5::LoadModel(const std::string& FileName,
                               std::vector<Sys::Ptr<Korvo::MeshMD5>>& Meshes,
                               Sys::Ptr<Korvo::SkeletonMD5>& Skeleton,
                               Sys::Ptr<Korvo::ISkeletonHierarchy>& Hierarchy)
{
    try {
        TextFileMD5 file = TextFileMD5::Open(FileName);
        Sys::Ptr<Korvo::SkeletonMD5> skeleton;
        Sys::Ptr<Korvo::ISkeletonHierarchy> hierarchy;
        std::vector<Sys::Ptr<Korvo::MeshMD5>> meshes;
        ParseMesh(
            file,
            [&](std::vector<JointRecordMD5>& joints) {
                skeleton = BuildBindPose(joints);
                std::vector<Korvo::ISkeletonHierarchy::Joint> named;
                for (const JointRecordMD5& joint : joints)
                    named.push_back({joint.Name, joint.Parent, 0, 0});
                hierarchy = Sys::Ptr<Korvo::ISkeletonHierarchy>(
                    new Korvo::SkeletonHierarchyMD5(std::move(named)));
            },
            [&](MeshDataMD5& mesh) {
                meshes.push_back(Sys::Ptr<Korvo::MeshMD5>(
                    new Korvo::MeshMD5(mesh, Sys::Ptr<Korvo::ISkeleton>(skeleton))));
            });
        Meshes = meshes;
        Skeleton = skeleton;
        Hierarchy = hierarchy;
    } catch (const Sys::Exception& e) {
        throw Sys::Exception("Failed to load MD5 model from file \"%s\".\n\n%s",
                             FileName.c_str(), e.GetMessageText().c_str());
    }
}

void ModelLoaderMD5::LoadAnimation(const std::string& FileName,
                                   Sys::Ptr<Korvo::ISkeletalAnimation>& Animation)
{
    TextFileMD5 file = TextFileMD5::Open(FileName);
    Animation = ParseAnimation(file);
}

} // namespace Media
