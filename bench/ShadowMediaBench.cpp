// Load-time and per-frame costs of the shadow geometry and the skinned mesh:
//  - adjacency build by the fast search against the literal quadratic search, on closed
//    meshes whose neighbours match by index and on the same meshes split into separate
//    triangles whose neighbours match by position only (the results are compared first);
//  - one light's facing test, silhouette list and side-vertex fill for a large caster;
//  - skinning of a 2000-vertex mesh with four weights per vertex;
//  - the scissor rectangles of one light's wedge batches (20 edges each) for a large caster.

#include "media/SkeletonMD5.h"
#include "media/SkinMD5.h"
#include "render/WedgeScissor.h"
#include "shadow/StaticMeshAdjacency.h"
#include "tests/shadow/TestMeshes.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <random>

namespace {

// rings x sides tori of about 500, 3000 and 12000 triangles.
TestMeshes::Mesh MeshFor(int triangles, bool welded)
{
    const TestMeshes::Mesh m = triangles <= 500    ? TestMeshes::Torus(25, 10)
                               : triangles <= 3000 ? TestMeshes::Torus(75, 20)
                                                   : TestMeshes::Torus(150, 40);
    return welded ? TestMeshes::Split(m, 0.01f, 7) : m;
}

void CheckSame(const TestMeshes::Mesh& m)
{
    if (Korvo::StaticMeshAdjacency::Link(m.Positions, m.Triangles) !=
        Korvo::StaticMeshAdjacency::LinkLiteral(m.Positions, m.Triangles)) {
        std::fprintf(stderr, "fast and literal adjacency differ\n");
        std::abort();
    }
}

void AdjacencyFast(benchmark::State& state)
{
    const TestMeshes::Mesh m = MeshFor(int(state.range(0)), state.range(1) != 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(Korvo::StaticMeshAdjacency::Link(m.Positions, m.Triangles));
    state.counters["triangles"] = double(m.Triangles.size());
}

void AdjacencyLiteral(benchmark::State& state)
{
    const TestMeshes::Mesh m = MeshFor(int(state.range(0)), state.range(1) != 0);
    CheckSame(m);
    for (auto _ : state)
        benchmark::DoNotOptimize(Korvo::StaticMeshAdjacency::LinkLiteral(m.Positions, m.Triangles));
    state.counters["triangles"] = double(m.Triangles.size());
}

// A closed caster of 3000 triangles (4500 edges).
void OneLight(benchmark::State& state)
{
    const TestMeshes::Mesh m = TestMeshes::Torus(75, 20);
    Korvo::StaticMeshAdjacency adjacency(m.Positions, m.Triangles);
    std::vector<Math::Vec3f> sides(4 * adjacency.GetEdgeCapacity());
    float t = 0;
    int edges = 0;
    for (auto _ : state) {
        t += 0.01f;
        adjacency.UpdateFacing({5.0f * std::cos(t), 5.0f * std::sin(t), 2.0f});
        edges = adjacency.BuildLists(0);
        // What the shadow volume writes into its mapped side buffer: A, A, B, B per edge.
        const Korvo::IMeshAdjacency::Edge* e = adjacency.GetEdges();
        for (int i = 0; i < edges; ++i) {
            sides[4 * i] = sides[4 * i + 1] = e[i].A;
            sides[4 * i + 2] = sides[4 * i + 3] = e[i].B;
        }
        benchmark::DoNotOptimize(sides.data());
    }
    state.counters["triangles"] = double(m.Triangles.size());
    state.counters["edges"] = edges;
}

void WedgeScissorBatches(benchmark::State& state)
{
    const TestMeshes::Mesh m = MeshFor(3000, false);
    Korvo::StaticMeshAdjacency adjacency(m.Positions, m.Triangles);
    adjacency.UpdateFacing({1.0f, 2.0f, 8.0f});
    const int edges = adjacency.BuildLists(0);
    Korvo::ShadowLimits limits;
    limits.Light = {1.0f, 2.0f, 8.0f};
    limits.Reach = 40.0f;
    limits.HasScene = true;
    for (int i = 0; i < 8; ++i)
        limits.Scene[i] = {i & 1 ? 10.0f : -10.0f, i & 2 ? 10.0f : -10.0f, i & 4 ? 10.0f : -4.0f};
    const Math::Mat4 toClip =
        Math::Mat4::Perspective(60.0f, 4.0f / 3.0f, 1.0f, 100.0f) *
        Math::Mat4::LookAt({0.0f, -20.0f, 6.0f}, {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f});
    const Korvo::WedgeScissor scissor(limits, 0.5f, toClip, 1.0f, 640, 480);
    int rect[4];
    for (auto _ : state)
        for (int start = 0; start < edges; start += 20) {
            scissor.Rectangle(adjacency.GetEdges() + start, std::min(20, edges - start), rect);
            benchmark::DoNotOptimize(rect);
        }
    state.counters["edges"] = edges;
}

void Skinning(benchmark::State& state)
{
    const int joints = 40, vertices = 2000, weights = 4;
    std::mt19937 random(3);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    std::uniform_int_distribution<int> joint(0, joints - 1);

    Korvo::SkeletonMD5 bind(joints), pose(joints);
    for (int j = 0; j < joints; ++j) {
        auto& b = bind.GetJoints()[j];
        b.P = {unit(random), unit(random), unit(random)};
        Korvo::SkeletonMD5::ComputeRotation(b);
        auto& p = pose.GetJoints()[j];
        p.P = b.P;
        p.Q[0] = 0.3f * unit(random);
        p.Q[3] = Korvo::SkeletonMD5::ComputeW(p.Q[0], 0, 0);
        Korvo::SkeletonMD5::ComputeRotation(p);
    }
    Media::MeshDataMD5 mesh;
    for (int v = 0; v < vertices; ++v) {
        mesh.Vertices.push_back({{unit(random), unit(random)}, weights * v, weights});
        for (int w = 0; w < weights; ++w)
            mesh.Weights.push_back({joint(random), 0.25f, {unit(random), unit(random), unit(random)}});
    }
    for (int v = 0; v + 2 < vertices; ++v)
        mesh.Triangles.push_back({uint16_t(v), uint16_t(v + 1), uint16_t(v + 2)});
    Korvo::SkinMD5 skin(mesh, bind);

    std::vector<float> stream(vertices * Korvo::SkinMD5::FloatsPerVertex);
    std::vector<Math::Vec3f> positions(vertices);
    for (auto _ : state) {
        skin.Skin(pose, stream.data(), positions.data());
        benchmark::DoNotOptimize(stream.data());
    }
    state.counters["vertices"] = vertices;
}

} // namespace

BENCHMARK(AdjacencyFast)->ArgsProduct({{500, 3000, 12000}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(AdjacencyLiteral)->ArgsProduct({{500, 3000, 12000}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(OneLight)->Unit(benchmark::kMicrosecond);
BENCHMARK(Skinning)->Unit(benchmark::kMicrosecond);
BENCHMARK(WedgeScissorBatches)->Unit(benchmark::kMicrosecond);
