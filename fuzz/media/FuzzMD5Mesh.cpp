// Arbitrary text as an MD5 mesh file: the reader either hands out joints and meshes or
// fails with a Sys::Exception; every mesh it hands out is bound to the bind pose,
// skinned and given its adjacency, none of which may do more than throw.

#include "app/Exception.h"
#include "media/ModelLoaderMD5.h"
#include "media/SkinMD5.h"
#include "shadow/MeshAdjacencyMD5.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        Media::TextFileMD5 file(std::string(reinterpret_cast<const char*>(data), size));
        Sys::Ptr<Korvo::SkeletonMD5> pose;
        Media::ModelLoaderMD5::ParseMesh(
            file,
            [&](std::vector<Media::JointRecordMD5>& joints) {
                pose = Media::ModelLoaderMD5::BuildBindPose(joints);
            },
            [&](Media::MeshDataMD5& mesh) {
                if (pose.IsEmpty())
                    std::abort();
                try {
                    Korvo::SkinMD5 skin(mesh, *pose);
                    std::vector<float> stream(skin.GetVertexCount() * Korvo::SkinMD5::FloatsPerVertex);
                    std::vector<Math::Vec3f> positions(skin.GetVertexCount());
                    skin.Skin(*pose, stream.data(), positions.data());
                    Korvo::MeshAdjacencyMD5 adjacency(positions, skin.GetTriangles());
                    adjacency.UpdateFacing({0, 0, 5});
                    adjacency.BuildLists(0);
                    adjacency.BuildLists(1);
                } catch (const Sys::Exception&) {
                }
            });
    } catch (const Sys::Exception&) {
    }
    return 0;
}
