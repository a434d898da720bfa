#pragma once

#include "app/Ptr.h"
#include "gl/RasterState.h"
#include "math/Mat4.h"
#include "math/Vec3.h"
#include "world/IModel.h"
#include "world/IPointLightSource.h"
#include "world/ShadowDrawing.h"
#include "world/ShadowLimits.h"

#include <cstdint>
#include <vector>

namespace Korvo {

class IMesh;
class IViewer;

// Which casters of each light can shadow anything the frame shows lit (ShadowLimits, in each
// caster's space): a caster all of whose meshes lie past the limits casts on nothing lit and
// is left out for that light, its volumes and wedges alike.
//
// A caster the light counts behind the surfaces (depth fail) is counted in front of them
// (depth pass) instead, with r_Shadow_CountInFront on, where its whole volume, ended past
// the lit surfaces, keeps clear of the near plane within the view, and that plane's
// rectangle lies before the volume's end: every pixel's line of sight then starts outside
// the volume and never crosses its end, so the count in front is exact and needs no far
// caps. (Its sides are drawn whole, without
// the cut of what lies nearer than every surface; in both demo scenes the far caps cost
// more fragments than that.)
//
// Update comes before the frame's first pass. The tables keep what they grew to, so a
// frame allocates nothing once the scene's lights and casters have been seen.
class ShadowReach {
public:
    ShadowReach();

    // viewer and world may be null (no frustum, no world in the scene's box).
    void Update(const std::vector<Sys::Ptr<const IPointLightSource>>& lights,
                const IViewer* viewer, const IModel* world,
                const std::vector<Sys::Ptr<IModel>>& models);

    // The light's casters whose shadows can fall on lit surfaces, in the light's own order:
    // those it counts in front of the surfaces, and those it counts behind them, less the
    // ones counted in front after all (ClearCasters).
    const std::vector<Sys::Ptr<IModel>>& ZPassCasters(const IPointLightSource& light) const;
    const std::vector<Sys::Ptr<IModel>>& ZFailCasters(const IPointLightSource& light) const;
    // The casters of the light's depth-fail list whose volumes keep clear of the near plane:
    // counted in front of the surfaces, their volumes ending on planes past the lit
    // surfaces (LimitsFor), across whichever axis suits each mesh (ShadowLimits::VolumeEnd),
    // that the near plane's rectangle lies before.
    const std::vector<Sys::Ptr<IModel>>& ClearCasters(const IPointLightSource& light) const;
    // The casters of the light's depth-fail list whose shadows can fall on lit surfaces,
    // wherever they are counted: those whose penumbra wedges are drawn.
    const std::vector<Sys::Ptr<IModel>>& WedgeCasters(const IPointLightSource& light) const;
    // The limits of this frame's lit surfaces for the light, in the caster's space.
    ShadowLimits LimitsFor(const IPointLightSource& light, const IModel& caster) const;
    // The window depths between which the light's sphere lies, [0, 1] where the view gives
    // no narrower range: surfaces outside them get none of the light, so its shadow passes
    // may skip them (the depth-bounds test).
    void DepthBounds(const IPointLightSource& light, float& nearest, float& farthest) const;
    // The block with the light's depth bounds tested where `test` says so (the driver has
    // the test and r_GL_DepthBoundsTest is on), else the block as it is.
    GL::RasterState DepthBounded(const IPointLightSource& light, const GL::RasterState& block,
                                 bool test) const;

    // The window depth of a point `depth` in front of the eye under a perspective
    // projection (0 at the near plane; 1 at the far plane or at infinity).
    static float WindowDepth(const Math::Mat4& projection, float depth);

    // How far in front of the eye the nearest surface the frame can show lies: the least
    // depth of the meshes' boxes within the view frustum. 0 where the view tells nothing
    // (no perspective view, or a box reaching the near plane).
    float NearestSurface() const { return Nearest; }
    // The view's projection times its view matrix, and how far in front of the eye its near
    // plane lies, where the view is a perspective one; false else.
    bool ViewToClip(Math::Mat4& toClip, float& nearPlane) const;
    // The block with the shadow geometry nearer the eye than every surface clipped away,
    // where that leaves out anything: a count that changes only where the geometry lies
    // behind the surface (depth fail) stays the same at every pixel.
    GL::RasterState NearerCut(const GL::RasterState& block) const;

private:
    struct LightRow {
        const IPointLightSource* Light = nullptr;
        std::vector<Sys::Ptr<IModel>> ZPass;
        std::vector<Sys::Ptr<IModel>> ZFail;
        std::vector<Sys::Ptr<IModel>> Clear;
        std::vector<Sys::Ptr<IModel>> Wedges;
        float DepthNearest = 0.0f, DepthFarthest = 1.0f;
    };

    void AddBox(const IModel& model);
    // False when the light reaches nothing or every mesh of the caster lies past its limits.
    bool Casts(const IPointLightSource& light, const IModel& caster) const;
    // Whether every mesh of the caster has a volume that keeps clear of the near plane's
    // rectangle and, where it ends on a plane, ends past it. Finds the meshes' silhouettes
    // for the light where their boxes do not settle it.
    bool ClearOfNearPlane(const IPointLightSource& light, const IModel& caster);
    // Whether each of the mesh's triangles (positions as last drawn) lies outside one of the
    // planes (a, b, c, d of a x + b y + c z + d >= 0 inside, in eye space).
    bool TrianglesOutside(const IMesh& mesh, const Math::Mat4& toEye,
                          const float (&planes)[6][4]);
    const LightRow& Row(const IPointLightSource& light) const;

    std::vector<LightRow> Rows;
    size_t RowCount = 0;
    std::vector<Math::Vec3f> Frustum;    // apex and the four far corners, or none
    std::vector<Math::Vec3f> SceneBox;   // eight corners, or none
    Math::Vec3f BoxMin, BoxMax;
    bool HasBox = false;
    float Nearest = 0.0f;
    float NearPlane = 0.0f;
    Math::Mat4 View, Projection;   // the view's, where it is a perspective one
    struct SeenBox {
        float Depth;   // the least depth of the mesh's box within the view
        const IMesh* Mesh;
        const IModel* Model;
    };
    std::vector<SeenBox> SeenBoxes;
    std::vector<Math::Vec3f> EyePositions;   // one mesh's vertices in eye space
    std::vector<uint8_t> OutsidePlanes;      // and the frustum planes each lies outside of
    std::vector<uint8_t> SliceOutside;       // the near slice's planes a vertex lies outside of
    std::vector<VolumeEnd> PartEnds;         // one mesh's parts' ends, or its own
};

} // namespace Korvo
