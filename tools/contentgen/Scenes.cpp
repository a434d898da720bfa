#include "tools/contentgen/Scenes.h"

#include <algorithm>
#include <cmath>

namespace Content {

namespace {

const double Pi = 3.14159265358979323846;

using Props::Barrel;
using Props::Crate;
using Props::Pallet;
using Props::PipeRun;

Xform At(double x, double y, double z, double yawDegrees = 0)
{
    return Xform::Translate({x, y, z}) * Xform::RotY(yawDegrees * Pi / 180);
}

// A drum lying on its side with its axis turned by `yawDegrees` from x; `radius` is that
// of its hoops, which sink a little into the floor.
Xform LyingBarrel(double x, double z, double radius, double height, double yawDegrees)
{
    return At(x, radius - 0.3, z, yawDegrees) * Xform::RotZ(Pi / 2) *
           Xform::Translate({0, -height * 0.5, 0});
}

// Height of the top of a crate placed with Crate() at height `base`.
double CrateTop(double base, const Vec3d& size) { return base + size.y - 0.5; }

const double PalletTop = 4.35;

// A crate stacked on a surface at height `top`: it sinks slightly into what carries it, so
// no face or edge of the two coincides.
Xform OnTop(double x, double top, double z, double yawDegrees)
{
    return At(x, top + 0.3, z, yawDegrees);
}

TriMesh Bracket(const Vec3d& centre, const Vec3d& half)
{
    return Shapes::Box(half, Xform::Translate(centre));
}

} // namespace

std::vector<ModelFile> BuildZoriSet()
{
    std::vector<ModelFile> files;

    // Pipes along the back wall, one rising over the platform, and risers at the sides.
    {
        std::vector<TriMesh> parts;
        parts.push_back(PipeRun({{-198, 24, -170}, {110, 24, -170}, {110, 24, -95},
                                 {110, 92, -95}, {-110, 92, -95}, {-110, 92, -170},
                                 {-198, 92, -170}},
                                4.0, 14));
        parts.push_back(PipeRun({{130, -1, -40}, {130, 85, -40}, {198, 85, -40}}, 5.0, 14));
        parts.push_back(PipeRun({{-160, 7, -172}, {-160, 7, 110}, {-198, 7, 110}}, 5.0, 14));
        parts.push_back(PipeRun({{-198, 36, -175}, {198, 36, -175}}, 2.5, 10));
        // Wall brackets carry the two runs along the back wall; saddles the floor run.
        for (double x : {-150.0, -50.0, 50.0})
            parts.push_back(Bracket({x, 27, -176}, {2, 14, 5}));
        for (double z : {-120.0, -40.0, 40.0})
            parts.push_back(Bracket({-160, 1, z}, {4, 1.5, 2}));
        parts.push_back(Bracket({110, 60, -95}, {6, 2, 6}));
        files.push_back({"3DS/ZORI/Pipes.3ds", true, Props::Pack("Pipes", parts)});
    }

    // Steel platform with legs, braces, a back railing and steps on its right.
    {
        std::vector<TriMesh> parts;
        parts.push_back(Shapes::Box({50, 2.5, 26}, At(0, 40, -50)));
        for (double x : {-45.0, 45.0})
            for (double z : {-71.0, -29.0})
                parts.push_back(Shapes::Box({2.5, 19.75, 2.5}, At(x, 19.25, z)));
        const double brace = std::atan2(30.0, 90.0);
        for (double z : {-71.0, -29.0})
            parts.push_back(Shapes::Box({47, 1.2, 0.9},
                                        At(0, 20, z + (z < -50 ? -0.8 : 0.8)) *
                                            Xform::RotZ(z < -50 ? brace : -brace)));
        for (double x : {-45.0, -15.0, 15.0, 45.0})
            parts.push_back(Shapes::Box({1, 15, 1}, At(x, 57, -73)));
        parts.push_back(Shapes::Box({48, 1.2, 1.2}, At(0, 72, -73)));
        parts.push_back(Shapes::Box({48, 0.8, 0.8}, At(0, 57, -73)));
        for (int k = 1; k <= 4; ++k) {
            const double top = 8.5 * k, xa = 49 + (4 - k) * 9, xb = xa + 10;
            parts.push_back(Shapes::Box({(xb - xa) / 2, (top + 0.5) / 2, 15},
                                        At((xa + xb) / 2, (top - 0.5) / 2, -55)));
        }
        files.push_back({"3DS/ZORI/Platform.3ds", true, Props::Pack("Platform", parts)});
    }

    // Fuel drums in a group at the front left, one on its side, one up on the platform.
    {
        std::vector<TriMesh> parts;
        const double r = 11, h = 34;
        parts.push_back(Barrel(r, h, 20, At(-100, 0, 48)));
        parts.push_back(Barrel(r, h, 20, At(-76, 0, 58, 30)));
        parts.push_back(Barrel(r, h, 20, At(-96, 0, 75, 75)));
        parts.push_back(Barrel(r, h, 20, At(-122, 0, 68, 10)));
        parts.push_back(Barrel(r, h, 20, LyingBarrel(-62, 92, r + 0.7, h, 20)));
        parts.push_back(Barrel(r, h, 20, At(28, 42.5, -44, 45)));
        files.push_back({"3DS/ZORI/FuelBarrels.3ds", true, Props::Pack("Barrels", parts)});
    }

    // Crates on a pallet at the front right and a heavier stack at the back left.
    {
        std::vector<TriMesh> parts;
        parts.push_back(Pallet({40, 0, 32}, At(95, 0, 40, 4)));
        const Vec3d a(18, 18, 18), b(16, 14, 20), c(14, 12, 14);
        parts.push_back(Crate(a, OnTop(86, PalletTop, 33, 4)));
        parts.push_back(Crate(b, OnTop(104, PalletTop, 46, 12)));
        parts.push_back(Crate(c, OnTop(85, CrateTop(PalletTop + 0.3, a), 31, 24)));
        const Vec3d big(30, 26, 24), small(16, 12, 14);
        parts.push_back(Crate(big, At(-110, 0, -92, -6)));
        parts.push_back(Crate(small, OnTop(-106, CrateTop(0, big), -90, 18)));
        parts.push_back(Crate({20, 16, 18}, At(-138, 0, -60, 32)));
        parts.push_back(Crate({12, 10, 12}, At(32, 0, 78, -15)));
        files.push_back({"3DS/ZORI/Packages.3ds", true, Props::Pack("Packages", parts)});
    }

    // A round hatch lid resting on the platform, with its handle and hinge blocks.
    {
        std::vector<TriMesh> parts;
        const double y = 42.5;
        parts.push_back(Shapes::Revolve({{0, y - 0.5},
                                         {16, y - 0.5, true},
                                         {18, y + 1.0, true},
                                         {18, y + 2.5, true},
                                         {16.5, y + 3.5, true},
                                         {13, y + 3.5, true},
                                         {12, y + 5.0, true},
                                         {5, y + 5.0, true},
                                         {4, y + 6.0, true},
                                         {0, y + 6.0}},
                                        28, At(-20, 0, -50)));
        parts.push_back(Shapes::Tube(Shapes::RoundedPath({{-27, y + 4, -50},
                                                          {-27, y + 11, -50},
                                                          {-13, y + 11, -50},
                                                          {-13, y + 4, -50}},
                                                         3.0, 5),
                                     1.2, 8));
        for (double z : {-58.0, -42.0})
            parts.push_back(Shapes::Box({2.5, 2.2, 3}, At(-38.5, y + 1.5, z)));
        files.push_back({"3DS/ZORI/Lid.3ds", true, Props::Pack("Lid", parts)});
    }

    // A junction box on the platform and the cables that leave it: one hangs to the right
    // wall, one runs along the deck's edge past the drum, down to the floor and across it;
    // two more hang from the high pipe.
    {
        std::vector<TriMesh> parts;
        parts.push_back(Shapes::Box({6, 5.5, 4}, At(35, 47.5, -66)));
        parts.push_back(Shapes::Tube(Shapes::SaggingPath({40, 68, -72}, {199, 100, -72}, 28,
                                                         28),
                                     1.0, 8));
        parts.push_back(Shapes::Tube(Shapes::RoundedPath({{38, 46, -62},
                                                          {46, 45.5, -62},
                                                          {46, 44.2, -24},
                                                          {46, 0.9, -22},
                                                          {46, 0.9, 12},
                                                          {-30, 0.9, 20},
                                                          {-60, 0.9, -10}},
                                                         3.0, 5),
                                     1.2, 8));
        parts.push_back(Shapes::Tube(Shapes::SaggingPath({-60, 89, -120}, {-30, 72, -73}, 10,
                                                         16),
                                     0.9, 8));
        parts.push_back(Shapes::Tube(Shapes::SaggingPath({-10, 89, -120}, {10, 72, -73}, 14,
                                                         16),
                                     0.9, 8));
        files.push_back({"3DS/ZORI/Cables.3ds", true, Props::Pack("Cables", parts)});
    }

    TriMesh level = Props::Room({-200, 0, -180}, {200, 200, 240});
    level.Name = "Level";
    files.push_back({"3DS/ZORI/Level.3ds", false, {level}});
    return files;
}

std::vector<ModelFile> BuildDazuSet()
{
    std::vector<ModelFile> files;

    // Pipes: a run along the back wall, a riser in the back left corner feeding a main
    // that crosses the front of the room overhead on hangers (out of the top camera's view
    // and of the high light's way), a run along the right wall and a low one on the left.
    {
        std::vector<TriMesh> parts;
        parts.push_back(PipeRun({{-208, 20, -172}, {-60, 20, -172}, {60, 20, -172},
                                 {208, 20, -172}},
                                5.0, 14));
        // A branch from the back run toward the walk, closed by a valve.
        parts.push_back(PipeRun({{60, 20, -171}, {60, 20, -98}}, 3.5, 12));
        parts.push_back(Shapes::Box({6, 7, 5}, At(60, 18, -96)));
        parts.push_back(Props::Flange({60, 30, -96}, {0, 1, 0}, 6.5, 1.5, 16));
        parts.push_back(Shapes::Cylinder(1.0, 4.5, 8, At(60, 25, -96)));
        parts.push_back(PipeRun({{-192, -1, -160}, {-192, 140, -160}, {-192, 140, 150},
                                 {208, 140, 150}},
                                6.0, 16));
        for (double x : {-120.0, 0.0, 120.0})
            parts.push_back(Shapes::Box({1.0, 36, 1.0}, At(x, 176, 150)));
        parts.push_back(PipeRun({{196, -1, 150}, {196, 90, 150}, {196, 90, -100},
                                 {208, 90, -100}},
                                4.0, 12));
        parts.push_back(PipeRun({{-203, 10, -178}, {-203, 10, 200}}, 3.5, 12));
        // Wall brackets for the runs that do not rest on anything.
        for (double x : {-150.0, -20.0, 100.0})
            parts.push_back(Bracket({x, 20, -176}, {2, 9, 5}));
        for (double z : {-120.0, 0.0, 120.0})
            parts.push_back(Bracket({-206, 8, z}, {4, 6, 2}));
        for (double z : {100.0, 0.0, -80.0})
            parts.push_back(Bracket({203, 90, z}, {6, 2, 2}));
        files.push_back({"3DS/DAZU/Pipes.3ds", true, Props::Pack("Pipes", parts)});
    }

    // Drums: a group at the front right and two by the low light on the left, whose
    // shadows stretch across the floor.
    {
        std::vector<TriMesh> parts;
        const double r = 11, h = 34;
        parts.push_back(Barrel(r, h, 20, At(128, 0, 72)));
        parts.push_back(Barrel(r, h, 20, At(152, 0, 86, 40)));
        parts.push_back(Barrel(r, h, 20, At(134, 0, 104, 80)));
        parts.push_back(Barrel(r, h, 20, LyingBarrel(170, 120, r + 0.7, h, 70)));
        parts.push_back(Barrel(r, h, 20, At(-150, 0, -52, 15)));
        parts.push_back(Barrel(r, h, 20, At(-168, 0, -28, 55)));
        files.push_back({"3DS/DAZU/FuelBarrels.3ds", true, Props::Pack("Barrels", parts)});
    }

    // Large crates on pallets at the back right and front left.
    {
        std::vector<TriMesh> parts;
        const Vec3d a(34, 30, 30), b(30, 26, 28), c(26, 22, 24), d(32, 28, 30);
        parts.push_back(Pallet({44, 0, 36}, At(125, 0, -128, 5)));
        parts.push_back(Crate(a, OnTop(125, PalletTop, -128, 5)));
        parts.push_back(Crate(c, OnTop(123, CrateTop(PalletTop + 0.3, a), -126, 17)));
        parts.push_back(Crate(b, At(166, 0, -118, -8)));
        parts.push_back(Crate(d, At(-130, 0, 118, 8)));
        parts.push_back(Crate(b, At(-166, 0, 96, -20)));
        parts.push_back(Crate(c, At(-150, 0, -130, 12)));
        files.push_back({"3DS/DAZU/BigPackages.3ds", true, Props::Pack("BigPackages", parts)});
    }

    // Small boxes on top of the large ones and on the floor around them.
    {
        std::vector<TriMesh> parts;
        const double topA = CrateTop(CrateTop(PalletTop + 0.3, {34, 30, 30}) + 0.3,
                                     {26, 22, 24});
        parts.push_back(Crate({12, 10, 12}, OnTop(121, topA, -125, 35)));
        parts.push_back(Crate({14, 12, 12}, OnTop(-132, CrateTop(0, {32, 28, 30}), 116, -14)));
        parts.push_back(Crate({10, 8, 10}, OnTop(-127, CrateTop(0, {32, 28, 30}) + 11.8, 117,
                                                 25)));
        parts.push_back(Crate({14, 12, 14}, At(145, 0, -70, 20)));
        parts.push_back(Crate({12, 12, 12}, At(158, 0, -58, -10)));
        parts.push_back(Crate({12, 10, 14}, At(-118, 0, 80, 40)));
        parts.push_back(Crate({10, 10, 10}, At(-140, 0, -100, 5)));
        parts.push_back(Crate({16, 12, 14}, At(40, 0, 112, -12)));
        files.push_back({"3DS/DAZU/SmallPackages.3ds", true,
                         Props::Pack("SmallPackages", parts)});
    }

    // The machine in the middle of the walk: a skid, a drum lying along it, a motor with
    // its fan guard, a control cabinet and an exhaust stack.
    {
        std::vector<TriMesh> parts;
        parts.push_back(Shapes::Box({30, 3, 17}, At(0, 2.5, 0)));
        for (double x : {-26.0, 26.0})
            parts.push_back(Shapes::Box({2, 4, 18.5}, At(x, 2.0, 0)));
        const Xform alongX = Xform::RotZ(-Pi / 2);
        parts.push_back(Shapes::Cylinder(13, 40, 24, At(-24, 18.5, 0) * alongX));
        for (double x : {-20.0, -4.0, 12.0})
            parts.push_back(Props::Flange({x, 18.5, 0}, {1, 0, 0}, 14.2, 2.4, 24));
        parts.push_back(Shapes::Box({8, 9, 9}, At(24, 13.5, 0)));
        parts.push_back(Props::Flange({33, 13.5, 0}, {1, 0, 0}, 8.5, 2.5, 20));
        parts.push_back(Shapes::Box({6, 15, 5}, At(-40, 14.5, -14)));
        parts.push_back(Shapes::Tube(Shapes::RoundedPath({{-12, 28, 5},
                                                          {-12, 52, 5},
                                                          {-12, 52, -8},
                                                          {-12, 46, -16}},
                                                         8.0, 6),
                                     2.5, 12));
        parts.push_back(Shapes::Tube(Shapes::RoundedPath({{20, 21, 0},
                                                          {20, 34, 0},
                                                          {0, 34, 0},
                                                          {0, 26, 0}},
                                                         4.0, 5),
                                     1.5, 10));
        files.push_back({"3DS/DAZU/Thing.3ds", true, Props::Pack("Thing", parts)});
    }

    // This scene hands the world renderer only the level and the character; the props
    // above reach it only as the lights' shadow casters. So the level carries the props'
    // visible surfaces too, after the floor and walls.
    TriMesh level = Props::Room({-210, 0, -180}, {210, 210, 230});
    level.Name = "Level";
    std::vector<TriMesh> levelObjects{level};
    for (const ModelFile& file : files)
        levelObjects.insert(levelObjects.end(), file.Objects.begin(), file.Objects.end());
    files.push_back({"3DS/DAZU/Level.3ds", false, levelObjects});
    return files;
}

double PathClearance(const TriMesh& mesh, double maxHeight)
{
    // The ellipse sampled finely enough that chord error stays below a hundredth.
    static std::vector<std::pair<double, double>> ellipse = [] {
        std::vector<std::pair<double, double>> points;
        for (int i = 0; i < 2048; ++i) {
            const double a = 2 * Pi * i / 2048;
            points.push_back({100 * std::sin(a), 70 * std::cos(a)});
        }
        return points;
    }();
    double best = 1e30;
    auto consider = [&](const Vec3d& p) {
        if (p.y > maxHeight)
            return;
        // Scaling the ellipse to a unit circle shrinks distances by at most 1/70, so
        // 70 |r - 1| bounds the distance from below and spares the search far from the path.
        const double r = std::hypot(p.x / 100, p.z / 70);
        if (70 * std::fabs(r - 1) >= best)
            return;
        for (const auto& [x, z] : ellipse)
            best = std::min(best, std::hypot(p.x - x, p.z - z));
    };
    for (const auto& t : mesh.Triangles) {
        const Vec3d& a = mesh.Positions[t[0]];
        const Vec3d& b = mesh.Positions[t[1]];
        const Vec3d& c = mesh.Positions[t[2]];
        const double longest =
            std::max({(b - a).Length(), (c - b).Length(), (a - c).Length()});
        const int n = std::max(2, int(std::ceil(longest / 2.0)));
        for (int i = 0; i <= n; ++i)
            for (int j = 0; i + j <= n; ++j)
                consider(a + (b - a) * (double(i) / n) + (c - a) * (double(j) / n));
    }
    return best;
}

} // namespace Content
