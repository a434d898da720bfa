#pragma once

#include "app/Ptr.h"
#include "media/ISkeletalAnimation.h"
#include "media/RecordsMD5.h"
#include "media/SkeletonMD5.h"
#include "media/TextFileMD5.h"

#include <functional>
#include <string>
#include <vector>

namespace Korvo {
class MeshMD5;
}

namespace Media {

// Reads MD5 mesh and animation text files. The mesh file's records are handed out as
// they are read (first the joints, then each mesh), so that whoever builds the GPU meshes
// does so in the file's order; reading alone needs no GL.
class ModelLoaderMD5 {
public:
    using JointsHandler = std::function<void(std::vector<JointRecordMD5>& joints)>;
    using MeshHandler = std::function<void(MeshDataMD5& mesh)>;

    static void ParseMesh(TextFileMD5& file, const JointsHandler& onJoints,
                          const MeshHandler& onMesh);
    static Sys::Ptr<Korvo::ISkeletalAnimation> ParseAnimation(TextFileMD5& file);

    // The bind pose of a mesh file's joints (already in model space).
    static Sys::Ptr<Korvo::SkeletonMD5> BuildBindPose(const std::vector<JointRecordMD5>& joints);

    // Reads a mesh file: its MeshMD5 meshes bound to the file's skeleton, that skeleton (the
    // bind pose) and the joints' names and parents, from which the world builds its
    // ModelMD5. Any failure becomes "Failed to load MD5 model from file ..." with the inner
    // message, and all three are left as they were.
    static void LoadModel(const std::string& FileName,
                          std::vector<Sys::Ptr<Korvo::MeshMD5>>& Meshes,
                          Sys::Ptr<Korvo::SkeletonMD5>& Skeleton,
                          Sys::Ptr<Korvo::ISkeletonHierarchy>& Hierarchy);

    // Reads an animation file; its failures reach the caller unchanged.
    static void LoadAnimation(const std::string& FileName,
                              Sys::Ptr<Korvo::ISkeletalAnimation>& Animation);

    static constexpr int Version = 10;
};

} // namespace Media
