#include "tools/contentgen/ContentWriter.h"
#include "tools/contentgen/MeshCheck.h"
#include "tools/contentgen/Scenes.h"

#include "math/Mat4.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <numeric>

using namespace Content;

namespace {

const double Pi = 3.14159265358979323846;

// Triangles grouped into the separate solids of a mesh (joined through welded corners).
std::map<int, TriMesh> Solids(const TriMesh& mesh)
{
    std::vector<int> parent(mesh.Positions.size());
    std::iota(parent.begin(), parent.end(), 0);
    std::function<int(int)> find = [&](int i) {
        return parent[i] == i ? i : parent[i] = find(parent[i]);
    };
    std::map<std::tuple<long, long, long>, int> at;
    for (size_t i = 0; i < mesh.Positions.size(); ++i) {
        const Vec3d& p = mesh.Positions[i];
        const auto [it, fresh] = at.emplace(std::make_tuple(std::lround(p.x * 100),
                                                            std::lround(p.y * 100),
                                                            std::lround(p.z * 100)), int(i));
        if (!fresh)
            parent[find(int(i))] = find(it->second);
    }
    for (const auto& t : mesh.Triangles) {
        parent[find(t[1])] = find(t[0]);
        parent[find(t[2])] = find(t[0]);
    }
    std::map<int, TriMesh> solids;
    for (const auto& t : mesh.Triangles) {
        TriMesh& s = solids[find(t[0])];
        s.Positions = mesh.Positions;
        s.Triangles.push_back(t);
    }
    return solids;
}

struct Camera {
    Math::Vec3f Eye, Target;
    float Fov;
};

// Whether some vertex of the file's objects lies inside the camera's view.
bool Sees(const Camera& camera, const ModelFile& file)
{
    const Math::Mat4 view = Math::Mat4::LookAt(camera.Eye, camera.Target, {0, 1, 0});
    const Math::Mat4 projection = Math::Mat4::Perspective(camera.Fov, 4.0f / 3.0f, 4, 4096);
    for (const TriMesh& mesh : file.Objects)
        for (const Vec3d& p : mesh.Positions) {
            const Math::Vec3f v = view.TransformPoint({float(p.x), float(p.y), float(p.z)});
            const Math::Vec3f ndc = projection.Project(v);
            if (v.z <= -4 && std::fabs(ndc.x) < 0.98f && std::fabs(ndc.y) < 0.98f)
                return true;
        }
    return false;
}

double NearestVertex(const std::vector<ModelFile>& set, const Vec3d& point)
{
    double best = 1e30;
    for (const ModelFile& file : set)
        if (file.CastsShadows)
            for (const TriMesh& mesh : file.Objects)
                for (const Vec3d& p : mesh.Positions)
                    best = std::min(best, (p - point).Length());
    return best;
}

} // namespace

TEST(Sets, CastersAreClosedOutwardAndWithinTheAdjacencyCapacity)
{
    for (const auto& set : {BuildZoriSet(), BuildDazuSet()})
        for (const ModelFile& file : set) {
            if (!file.CastsShadows)
                continue;
            for (const TriMesh& mesh : file.Objects) {
                SCOPED_TRACE(file.Path + " " + mesh.Name);
                EXPECT_LE(mesh.TriangleCount(), MaxCasterTriangles);
                const ClosureReport report = CheckClosed(mesh);
                EXPECT_TRUE(report.Closed()) << report.FirstProblem;
                // Every separate solid faces outward, not just the object as a whole.
                for (const auto& [root, solid] : Solids(mesh))
                    EXPECT_GT(SignedVolume(solid), 0.0) << "solid of corner " << root;
            }
        }
}

TEST(Sets, TriangleBudgetsHoldWithTheCharacter)
{
    int zori = 0, dazu = 0;
    for (const ModelFile& f : BuildZoriSet())
        zori += f.TriangleCount();
    // The walking scene's level repeats its props' surfaces for drawing (the props reach
    // the renderer only as shadow casters there): count each surface once.
    for (const ModelFile& f : BuildDazuSet())
        dazu += f.CastsShadows ? f.TriangleCount() : f.Objects.front().TriangleCount();
    int character = 0;
    const Character zfat;
    for (const Character::Mesh& m : zfat.Meshes())
        character += m.Geometry.TriangleCount();
    EXPECT_LE(zori, 15000);
    EXPECT_LE(dazu + character, 15000);
    EXPECT_GE(character, 2000);
    EXPECT_LE(character, 3200);
}

TEST(Sets, PropsKeepOffTheWalkAndAwayFromTheLights)
{
    const auto dazu = BuildDazuSet();
    for (const ModelFile& f : dazu) {
        if (!f.CastsShadows)
            continue;
        for (const TriMesh& mesh : f.Objects)
            EXPECT_GE(PathClearance(mesh, 110), 25.0) << f.Path << " " << mesh.Name;
    }
    EXPECT_GE(NearestVertex(dazu, {37.277, 170, -115}), 15.0);
    EXPECT_GE(NearestVertex(dazu, {-157, 20, 16}), 15.0);

    const auto zori = BuildZoriSet();
    EXPECT_GE(NearestVertex(zori, {-70, 130, 14}), 15.0);
    for (int i = 0; i < 64; ++i) {
        const double a = 2 * Pi * i / 64;
        EXPECT_GE(NearestVertex(zori, {80 * std::sin(a), 130, 80 * std::cos(a)}), 15.0) << i;
    }
}

TEST(Sets, BothCamerasOfEachSceneSeeEveryProp)
{
    const Camera top{{0, 400, 20}, {0, 0, 0}, 30};
    for (const ModelFile& f : BuildZoriSet())
        if (f.CastsShadows) {
            EXPECT_TRUE(Sees(top, f)) << f.Path;
            EXPECT_TRUE(Sees({{0, 155, 185}, {0, 65, 20}, 60}, f)) << f.Path;
        }
    // The riding camera of the walking scene looks back along the ellipse at a target 55
    // units behind it; every prop shows up somewhere along the lap.
    std::vector<Camera> riding;
    for (int i = 0; i < 32; ++i) {
        const double a = 2 * Pi * i / 32;
        double back = a, travelled = 0;
        while (travelled < 55) {
            const double step = 0.001;
            travelled += std::hypot(100 * (std::sin(back) - std::sin(back - step)),
                                    70 * (std::cos(back) - std::cos(back - step)));
            back -= step;
        }
        riding.push_back({{float(100 * std::sin(a)), 60, float(70 * std::cos(a))},
                          {float(100 * std::sin(back)), 50, float(70 * std::cos(back))},
                          80});
    }
    for (const ModelFile& f : BuildDazuSet())
        if (f.CastsShadows) {
            EXPECT_TRUE(Sees(top, f)) << f.Path;
            int seen = 0;
            for (const Camera& c : riding)
                seen += Sees(c, f) ? 1 : 0;
            EXPECT_GE(seen, 4) << f.Path;
        }
}

TEST(Sets, WritingTwiceGivesTheSameBytes)
{
    const Character character;
    std::vector<WalkStyle> walks = CharacterWalks();
    for (const char* folder : {"first", "second"}) {
        std::filesystem::remove_all(folder);
        for (const auto& set : {BuildZoriSet(), BuildDazuSet()})
            for (const ModelFile& f : set)
                WriteModelFile(folder, f);
        WriteCharacter(folder, character, walks);
    }
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator("first")) {
        if (!entry.is_regular_file())
            continue;
        ++files;
        const auto other = "second" / std::filesystem::relative(entry.path(), "first");
        std::ifstream a(entry.path(), std::ios::binary), b(other, std::ios::binary);
        const std::string da((std::istreambuf_iterator<char>(a)), {});
        const std::string db((std::istreambuf_iterator<char>(b)), {});
        EXPECT_FALSE(da.empty()) << entry.path();
        EXPECT_EQ(da, db) << entry.path();
    }
    EXPECT_EQ(files, 13 + 5);
}

// The walking scene draws only its level and the character; every prop must therefore be
// visible through the level as well as cast its shadow.
TEST(Sets, WalkingSceneLevelCarriesEveryPropSurface)
{
    const auto dazu = BuildDazuSet();
    const ModelFile& level = dazu.back();
    ASSERT_FALSE(level.CastsShadows);
    int propTriangles = 0;
    size_t propObjects = 0;
    for (const ModelFile& f : dazu)
        if (f.CastsShadows) {
            propTriangles += f.TriangleCount();
            propObjects += f.Objects.size();
        }
    EXPECT_EQ(level.Objects.size(), 1 + propObjects);
    EXPECT_EQ(level.TriangleCount(), level.Objects.front().TriangleCount() + propTriangles);
}
