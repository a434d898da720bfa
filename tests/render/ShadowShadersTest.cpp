// Runs the shadow shader files on their own against the CPU reference: a floor with
// casters above it, one light; the hard stencil count with the volume shaders, and the
// soft value with the coordinate, wedge and combine shaders, drawn as the soft-shadow
// passes draw them.
#include "tests/render/GLHarness.h"
#include "tests/support/raytrace/RayTracer.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

using Math::Vec3f;

constexpr int Width = 160;
constexpr int Height = 120;

struct Mesh {
    std::vector<Vec3f> Positions;                  // model space, shared corners
    std::vector<std::array<uint16_t, 3>> Faces;    // counter-clockwise from outside
    Math::Mat4 Model;                              // placement in the world

    Vec3f ToModel(const Vec3f& world) const { return Model.InverseRigid().TransformPoint(world); }
    Vec3f ToWorld(const Vec3f& model) const { return Model.TransformPoint(model); }
};

Mesh Box(Vec3f half, Vec3f at)
{
    Mesh m;
    for (int i = 0; i < 8; ++i)
        m.Positions.push_back(Vec3f(i & 1 ? half.x : -half.x, i & 2 ? half.y : -half.y,
                                    i & 4 ? half.z : -half.z));
    m.Faces = {{0, 2, 3}, {0, 3, 1}, {4, 5, 7}, {4, 7, 6}, {0, 1, 5}, {0, 5, 4},
               {2, 6, 7}, {2, 7, 3}, {0, 4, 6}, {0, 6, 2}, {1, 3, 7}, {1, 7, 5}};
    m.Model = Math::Mat4::Translation(at);
    return m;
}

Mesh Sphere(float radius, int slices, int stacks, Vec3f at)
{
    Mesh m;
    const float pi = 3.14159265f;
    m.Positions.push_back(Vec3f(0, radius, 0));
    for (int i = 1; i < stacks; ++i) {
        const float theta = pi * i / stacks;
        for (int j = 0; j < slices; ++j) {
            const float phi = 2.0f * pi * j / slices;
            m.Positions.push_back(Vec3f(radius * std::sin(theta) * std::cos(phi),
                                        radius * std::cos(theta),
                                        radius * std::sin(theta) * std::sin(phi)));
        }
    }
    const uint16_t bottom = static_cast<uint16_t>(m.Positions.size());
    m.Positions.push_back(Vec3f(0, -radius, 0));
    auto ring = [slices](int i, int j) {
        return static_cast<uint16_t>(1 + (i - 1) * slices + (j % slices));
    };
    for (int j = 0; j < slices; ++j)
        m.Faces.push_back({0, ring(1, j + 1), ring(1, j)});
    for (int i = 1; i < stacks - 1; ++i) {
        for (int j = 0; j < slices; ++j) {
            m.Faces.push_back({ring(i, j), ring(i, j + 1), ring(i + 1, j + 1)});
            m.Faces.push_back({ring(i, j), ring(i + 1, j + 1), ring(i + 1, j)});
        }
    }
    for (int j = 0; j < slices; ++j)
        m.Faces.push_back({bottom, ring(stacks - 1, j), ring(stacks - 1, j + 1)});
    m.Model = Math::Mat4::Translation(at);
    return m;
}

Mesh Floor()
{
    Mesh m;
    m.Positions = {Vec3f(-14, 0, -14), Vec3f(-14, 0, 14), Vec3f(14, 0, 14), Vec3f(14, 0, -14)};
    m.Faces = {{0, 1, 2}, {0, 2, 3}};
    return m;
}

Vec3f Corner(const Mesh& m, int face, int k) { return m.Positions[m.Faces[face][k]]; }

bool FacesLight(const Mesh& m, int face, const Vec3f& light)
{
    const Vec3f a = Corner(m, face, 0);
    const Vec3f n = Math::Cross(Corner(m, face, 1) - a, Corner(m, face, 2) - a);
    return Math::Dot(n, light - a) > 0.0f;
}

// Silhouette edges (wound as their lit face winds them) of a closed mesh.
std::vector<std::pair<Vec3f, Vec3f>> Silhouette(const Mesh& m, const Vec3f& light)
{
    std::map<std::pair<int, int>, std::vector<std::pair<int, int>>> edges;
    for (int f = 0; f < static_cast<int>(m.Faces.size()); ++f)
        for (int k = 0; k < 3; ++k) {
            const int a = m.Faces[f][k], b = m.Faces[f][(k + 1) % 3];
            edges[{std::min(a, b), std::max(a, b)}].push_back({f, a});
        }
    std::vector<std::pair<Vec3f, Vec3f>> result;
    for (const auto& entry : edges) {
        const auto& faces = entry.second;
        if (faces.size() != 2)
            continue;
        for (int i = 0; i < 2; ++i) {
            const int lit = faces[i].first, other = faces[1 - i].first;
            if (FacesLight(m, lit, light) && !FacesLight(m, other, light)) {
                const int a = faces[i].second;
                const int b = a == entry.first.first ? entry.first.second : entry.first.first;
                result.push_back({m.Positions[a], m.Positions[b]});
            }
        }
    }
    return result;
}

struct Programs {
    GLuint Transform, Coordinate, Volume, CapNear, CapFar, Construct, Coverage, Combine;
};

void DrawPositions(const std::vector<Vec3f>& positions)
{
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, positions.data());
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(positions.size()));
    glDisableVertexAttribArray(0);
}

std::vector<Vec3f> Triangles(const Mesh& m, bool lit, bool unlit, const Vec3f& light)
{
    std::vector<Vec3f> out;
    for (int f = 0; f < static_cast<int>(m.Faces.size()); ++f) {
        const bool facing = FacesLight(m, f, light);
        if ((facing && lit) || (!facing && unlit))
            for (int k = 0; k < 3; ++k)
                out.push_back(Corner(m, f, k));
    }
    return out;
}

void PushModel(const Mesh& m)
{
    glPushMatrix();
    glMultMatrixf(m.Model.Data());
}

void SetLightPosition(GLuint program, const Vec3f& p)
{
    glUniform3f(glGetUniformLocation(program, "u_LightSource.Position"), p.x, p.y, p.z);
}

// Depth-fail volume of one caster: sides extruded by in_WCoord, near and far caps.
void DrawVolume(const Programs& p, const Mesh& m, const Vec3f& worldLight)
{
    const Vec3f light = m.ToModel(worldLight);
    std::vector<Vec3f> sides;
    std::vector<float> w;
    std::vector<uint16_t> indices;
    for (const auto& edge : Silhouette(m, light)) {
        const uint16_t base = static_cast<uint16_t>(sides.size());
        sides.insert(sides.end(), {edge.first, edge.first, edge.second, edge.second});
        w.insert(w.end(), {1.0f, 0.0f, 0.0f, 1.0f});
        indices.insert(indices.end(), {base, static_cast<uint16_t>(base + 1),
                                       static_cast<uint16_t>(base + 2), base,
                                       static_cast<uint16_t>(base + 2),
                                       static_cast<uint16_t>(base + 3)});
    }
    PushModel(m);
    glUseProgram(p.Volume);
    SetLightPosition(p.Volume, light);
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, sides.data());
    glVertexAttribPointer(1, 1, GL_FLOAT, GL_FALSE, 0, w.data());
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_SHORT,
                   indices.data());
    glDisableVertexAttribArray(1);
    glDisableVertexAttribArray(0);
    glUseProgram(p.CapNear);
    DrawPositions(Triangles(m, true, false, light));
    glUseProgram(p.CapFar);
    SetLightPosition(p.CapFar, light);
    DrawPositions(Triangles(m, false, true, light));
    glPopMatrix();
}

// The penumbra wedges of one caster, in batches, with the three draws per batch that
// count the wedge in the stencil, add the coverage where it is set, and clear it again.
void DrawWedges(const Programs& p, const Mesh& m, const RayTrace::Light& worldLight, int batch)
{
    static const uint16_t pattern[24] = {0, 1, 2, 0, 2, 3, 3, 2, 4, 4, 2, 1,
                                         4, 1, 5, 5, 1, 0, 0, 3, 4, 0, 4, 5};
    const Vec3f light = m.ToModel(worldLight.Position);
    const auto edges = Silhouette(m, light);
    std::vector<Vec3f> edge0, edge1;
    std::vector<int16_t> data;
    std::vector<uint16_t> indices;
    for (const auto& edge : edges) {
        const uint16_t base = static_cast<uint16_t>(edge0.size());
        for (int corner = 0; corner < 6; ++corner) {
            edge0.push_back(edge.first);
            edge1.push_back(edge.second);
            data.push_back(static_cast<int16_t>(corner));
            data.push_back(corner == 1 || corner == 2 ? 1 : 0);
        }
        for (uint16_t index : pattern)
            indices.push_back(static_cast<uint16_t>(base + index));
    }
    const float* model = m.Model.Data();
    for (GLuint program : {p.Construct, p.Coverage}) {
        glUseProgram(program);
        SetLightPosition(program, light);
        glUniform3f(glGetUniformLocation(program, "u_LightSource.WorldPosition"),
                    worldLight.Position.x, worldLight.Position.y, worldLight.Position.z);
        glUniform1f(glGetUniformLocation(program, "u_LightSource.Radius"), worldLight.Radius);
        glUniform1f(glGetUniformLocation(program, "u_LightSource.ScaledRadius"),
                    0.4f * worldLight.Radius);
        glUniform1f(glGetUniformLocation(program, "u_LightSource.InvRadius"),
                    1.0f / worldLight.Radius);
        glUniformMatrix4fv(glGetUniformLocation(program, "u_ModelMatrix"), 1, GL_FALSE, model);
        glUniform1i(glGetUniformLocation(program, "u_TexCoordinate"), 0);
        glUniform1i(glGetUniformLocation(program, "u_TexAtan2"), 1);
    }
    PushModel(m);
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(1);
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, edge0.data());
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, 0, edge1.data());
    glVertexAttribPointer(2, 2, GL_SHORT, GL_FALSE, 0, data.data());
    const int count = static_cast<int>(edges.size());
    for (int first = 0; first < count; first += batch) {
        const int n = std::min(batch, count - first);
        const uint16_t* range = indices.data() + 24 * first;
        glColorMask(0, 0, 0, 0);
        glStencilFunc(GL_ALWAYS, 0, ~0u);
        glStencilOpSeparate(GL_BACK, GL_KEEP, GL_INCR_WRAP, GL_KEEP);
        glStencilOpSeparate(GL_FRONT, GL_KEEP, GL_DECR_WRAP, GL_KEEP);
        glDisable(GL_CULL_FACE);
        glUseProgram(p.Construct);
        glDrawElements(GL_TRIANGLES, 24 * n, GL_UNSIGNED_SHORT, range);
        glEnable(GL_CULL_FACE);
        glColorMask(0, 0, 0, 1);
        glStencilFunc(GL_NOTEQUAL, 0, ~0u);
        glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
        glUseProgram(p.Coverage);
        glDrawElements(GL_TRIANGLES, 24 * n, GL_UNSIGNED_SHORT, range);
        glColorMask(0, 0, 0, 0);
        glStencilFunc(GL_EQUAL, 0, ~0u);
        glStencilOp(GL_ZERO, GL_KEEP, GL_KEEP);
        glUseProgram(p.Construct);
        glDrawElements(GL_TRIANGLES, 24 * n, GL_UNSIGNED_SHORT, range);
    }
    glDisableVertexAttribArray(2);
    glDisableVertexAttribArray(1);
    glDisableVertexAttribArray(0);
    glPopMatrix();
}

// The angle cube map: for every texel direction its angle around z as a byte.
GLuint AngleCubeMap()
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_CUBE_MAP, texture);
    std::vector<unsigned char> face(128 * 128);
    for (int f = 0; f < 6; ++f) {
        for (int r = 0; r < 128; ++r) {
            for (int c = 0; c < 128; ++c) {
                const float v = (2.0f * r + 1.0f) / 128.0f - 1.0f;
                const float u = (2.0f * c + 1.0f) / 128.0f - 1.0f;
                const float pairs[6][2] = {{-v, 1}, {-v, -1}, {1, u}, {-1, u}, {-v, u}, {-v, -u}};
                float a = std::atan2(pairs[f][0], pairs[f][1]);
                if (a < 0.0f)
                    a += 6.2831855f;
                const float turn = std::min(std::max(a / 6.2831855f, 0.0f), 1.0f);
                face[r * 128 + c] = static_cast<unsigned char>(turn * 255.0f);
            }
        }
        glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + f, 0, GL_LUMINANCE8, 128, 128, 0,
                     GL_LUMINANCE, GL_UNSIGNED_BYTE, face.data());
    }
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return texture;
}

GLuint RectTexture(GLenum internalFormat, GLenum format, GLenum type, const void* data)
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_RECTANGLE_ARB, texture);
    glTexImage2D(GL_TEXTURE_RECTANGLE_ARB, 0, internalFormat, Width, Height, 0, format, type,
                 data);
    glTexParameteri(GL_TEXTURE_RECTANGLE_ARB, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_RECTANGLE_ARB, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    return texture;
}

GLuint Framebuffer(GLuint colour, GLuint depthStencil)
{
    GLuint fbo = 0;
    glGenFramebuffersEXT(1, &fbo);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, fbo);
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT,
                              GL_TEXTURE_RECTANGLE_ARB, colour, 0);
    if (depthStencil != 0) {
        glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT,
                                     GL_RENDERBUFFER_EXT, depthStencil);
        glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_STENCIL_ATTACHMENT_EXT,
                                     GL_RENDERBUFFER_EXT, depthStencil);
    }
    return fbo;
}

struct Frame {
    std::vector<uint8_t> Stencil;   // depth-fail count per pixel, wrapping
    std::vector<float> Soft;        // combined shadow value per pixel
};

class ShadowShaders : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gl.Ok()) << gl.Error;
        const std::string volume = "Shaders/Shadows/ShadowVolume/";
        const std::string wedge = "Shaders/Shadows/Wedge/Spherical/";
        const std::vector<std::pair<int, std::string>> position = {{0, "in_Vertex"}};
        const std::vector<std::pair<int, std::string>> wedgeAttributes = {
            {0, "in_Edge0"}, {1, "in_Edge1"}, {2, "in_VertexData"}};
        programs.Transform = gl.BuildProgram({"Shaders/Common/Transform.vsh", "", "", "", position});
        programs.Coordinate =
            gl.BuildProgram({"Shaders/Shadows/Framebuffer/Coordinate.vsh",
                             "Shaders/Shadows/Framebuffer/Coordinate.fsh", "", "", position});
        programs.Volume = gl.BuildProgram(
            {volume + "ShadowVolume.vsh", "", "", "", {{0, "in_Vertex"}, {1, "in_WCoord"}}});
        programs.CapNear = gl.BuildProgram({volume + "ShadowCap.vsh", "", "NEAR", "", position});
        programs.CapFar = gl.BuildProgram({volume + "ShadowCap.vsh", "", "FAR", "", position});
        programs.Construct = gl.BuildProgram({wedge + "Construct.vsh", "", "", "", wedgeAttributes});
        programs.Coverage = gl.BuildProgram(
            {wedge + "Construct.vsh", wedge + "Coverage.fsh", "FRAG", "FRAG", wedgeAttributes});
        programs.Combine = gl.BuildProgram({"Shaders/Common/Transform.vsh",
                                            "Shaders/Shadows/Framebuffer/Combine.fsh", "", "",
                                            position});
        ASSERT_TRUE(gl.Ok()) << gl.Error;
    }

    // Draws the floor and the casters as the passes do and reads back the hard count and
    // the combined soft value.
    Frame Draw(const std::vector<Mesh>& casters, const RayTrace::Camera& camera,
               const RayTrace::Light& light, int batch)
    {
        GLuint depthStencil = 0;
        glGenRenderbuffersEXT(1, &depthStencil);
        glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, depthStencil);
        glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH24_STENCIL8_EXT, Width, Height);
        const GLuint coordinate = RectTexture(GL_RGBA32F_ARB, GL_RGBA, GL_FLOAT, nullptr);
        const GLuint coverage = RectTexture(GL_RGBA32F_ARB, GL_RGBA, GL_FLOAT, nullptr);
        const GLuint combined = RectTexture(GL_RGBA32F_ARB, GL_RGBA, GL_FLOAT, nullptr);
        const GLuint coordinateTarget = Framebuffer(coordinate, depthStencil);
        const GLuint coverageTarget = Framebuffer(coverage, depthStencil);
        const GLuint combineTarget = Framebuffer(combined, 0);
        const GLuint angles = AngleCubeMap();
        const Mesh floor = Floor();

        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, coordinateTarget);
        EXPECT_EQ(glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT),
                  static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE_EXT));
        glViewport(0, 0, Width, Height);
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixf(camera.Projection.Data());
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixf(camera.View.Data());

        // Depth, then the world position of every visible point.
        glClearColor(0, 0, 0, 0);
        glClearStencil(0);
        glDepthMask(1);
        glStencilMask(~0u);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glColorMask(0, 0, 0, 0);
        glUseProgram(programs.Transform);
        DrawPositions(Triangles(floor, true, true, light.Position));
        for (const Mesh& m : casters) {
            PushModel(m);
            DrawPositions(Triangles(m, true, true, m.ToModel(light.Position)));
            glPopMatrix();
        }
        glDepthMask(0);
        glDepthFunc(GL_EQUAL);
        glColorMask(1, 1, 1, 1);
        glUseProgram(programs.Coordinate);
        const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
        const GLint modelMatrix = glGetUniformLocation(programs.Coordinate, "u_ModelMatrix");
        glUniformMatrix4fv(modelMatrix, 1, GL_FALSE, identity);
        DrawPositions(Triangles(floor, true, true, light.Position));
        for (const Mesh& m : casters) {
            glUniformMatrix4fv(modelMatrix, 1, GL_FALSE, m.Model.Data());
            PushModel(m);
            DrawPositions(Triangles(m, true, true, m.ToModel(light.Position)));
            glPopMatrix();
        }

        // Hard count of the light's centre, both faces in one draw.
        glColorMask(0, 0, 0, 0);
        glDepthFunc(GL_LESS);
        glDisable(GL_CULL_FACE);
        glEnable(GL_STENCIL_TEST);
        glStencilFunc(GL_ALWAYS, 0, ~0u);
        glStencilOpSeparate(GL_BACK, GL_KEEP, GL_INCR_WRAP, GL_KEEP);
        glStencilOpSeparate(GL_FRONT, GL_KEEP, GL_DECR_WRAP, GL_KEEP);
        for (const Mesh& m : casters)
            DrawVolume(programs, m, light.Position);
        Frame frame;
        frame.Stencil.resize(Width * Height);
        glReadPixels(0, 0, Width, Height, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE,
                     frame.Stencil.data());
        // The count around the mid value 128, as the alpha-stencil target holds it.
        std::vector<uint8_t> count(Width * Height);
        for (int i = 0; i < Width * Height; ++i)
            count[i] = static_cast<uint8_t>(128 + static_cast<int8_t>(frame.Stencil[i]));
        const GLuint counts = RectTexture(GL_ALPHA8, GL_ALPHA, GL_UNSIGNED_BYTE, count.data());

        // Wedge coverage into a float target, sharing depth with the scene.
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, coverageTarget);
        glColorMask(1, 1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE);
        glCullFace(GL_BACK);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_RECTANGLE_ARB, coordinate);
        glActiveTexture(GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_CUBE_MAP, angles);
        for (const Mesh& m : casters)
            DrawWedges(programs, m, light, batch);
        glDisable(GL_BLEND);
        glDisable(GL_STENCIL_TEST);

        // Combine over the whole target.
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, combineTarget);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        glColorMask(1, 1, 1, 1);
        glUseProgram(programs.Combine);
        glUniform1i(glGetUniformLocation(programs.Combine, "u_TexStencil"), 0);
        glUniform1i(glGetUniformLocation(programs.Combine, "u_TexCoverage"), 1);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_RECTANGLE_ARB, counts);
        glActiveTexture(GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_RECTANGLE_ARB, coverage);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, Width, 0, Height, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        DrawPositions({Vec3f(0, 0, 0), Vec3f(Width, 0, 0), Vec3f(Width, Height, 0),
                       Vec3f(0, 0, 0), Vec3f(Width, Height, 0), Vec3f(0, Height, 0)});
        frame.Soft.resize(Width * Height);
        glReadPixels(0, 0, Width, Height, GL_ALPHA, GL_FLOAT, frame.Soft.data());
        glActiveTexture(GL_TEXTURE0);
        glUseProgram(0);
        glEnable(GL_DEPTH_TEST);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        const GLuint fbos[] = {coordinateTarget, coverageTarget, combineTarget};
        glDeleteFramebuffersEXT(3, fbos);
        const GLuint textures[] = {coordinate, coverage, combined, counts, angles};
        glDeleteTextures(5, textures);
        glDeleteRenderbuffersEXT(1, &depthStencil);
        return frame;
    }

    static RayTrace::Scene ReferenceScene(const std::vector<Mesh>& casters)
    {
        RayTrace::Scene scene;
        for (const Mesh* m : std::vector<const Mesh*>{nullptr}) {
            (void)m;
            const Mesh floor = Floor();
            std::vector<RayTrace::Triangle> triangles;
            for (int f = 0; f < 2; ++f)
                triangles.push_back({Corner(floor, f, 0), Corner(floor, f, 1), Corner(floor, f, 2)});
            scene.AddObject(triangles);
        }
        for (const Mesh& m : casters) {
            std::vector<RayTrace::Triangle> triangles;
            for (int f = 0; f < static_cast<int>(m.Faces.size()); ++f)
                triangles.push_back({m.ToWorld(Corner(m, f, 0)), m.ToWorld(Corner(m, f, 1)),
                                     m.ToWorld(Corner(m, f, 2))});
            scene.AddObject(triangles);
        }
        return scene;
    }

    static RayTrace::Camera SceneCamera()
    {
        RayTrace::Camera camera;
        camera.Width = Width;
        camera.Height = Height;
        camera.View = Math::Mat4::LookAt(Vec3f(0, 6.5f, 6.5f), Vec3f(0, 0.5f, -1.0f), Vec3f(0, 1, 0));
        camera.Projection =
            Math::Mat4::PerspectiveInfinite(55.0f, float(Width) / Height, 0.5f, 1e-6f);
        return camera;
    }

    struct Figures {
        double HardDisagreement = 0;   // share of floor pixels outside the edge band
        double SoftError = 0;          // mean absolute error over the floor
        double PenumbraError = 0;      // the same over the floor's penumbra pixels
        double HardPenumbraError = 0;  // the hard answer's error over those pixels
        int PenumbraPixels = 0;
        int UmbraPixels = 0;           // floor pixels the reference sees fully hidden
    };

    Figures Compare(const std::vector<Mesh>& casters, float sourceSize, int batch)
    {
        const RayTrace::Camera camera = SceneCamera();
        RayTrace::Light light;
        light.Position = Vec3f(1.5f, 9.0f, 2.0f);
        light.Radius = sourceSize;
        const Frame frame = Draw(casters, camera, light, batch);
        const RayTrace::Scene scene = ReferenceScene(casters);
        std::vector<int> objects;
        RayTrace::Light point = light;
        point.Radius = 0.0f;
        const std::vector<float> hard = RayTrace::Visibility(scene, camera, point, 1, &objects);
        const std::vector<float> soft = RayTrace::Visibility(scene, camera, light, 16);

        Figures f;
        int floorPixels = 0, disagree = 0;
        double softSum = 0, penumbraSum = 0, hardPenumbraSum = 0;
        for (int y = 0; y < Height; ++y) {
            for (int x = 0; x < Width; ++x) {
                const int i = y * Width + x;
                if (objects[i] != 0 || hard[i] < 0.0f)
                    continue;
                ++floorPixels;
                const bool litReference = hard[i] > 0.5f;
                const bool litDrawn = frame.Stencil[i] == 0;
                bool band = false;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = x + dx, ny = y + dy;
                        if (nx < 0 || ny < 0 || nx >= Width || ny >= Height)
                            continue;
                        const int j = ny * Width + nx;
                        if (hard[j] >= 0.0f && (hard[j] > 0.5f) != litReference)
                            band = true;
                    }
                if (!band && litReference != litDrawn)
                    ++disagree;
                const double error = std::fabs(frame.Soft[i] - soft[i]);
                softSum += error;
                if (soft[i] > 0.02f && soft[i] < 0.98f) {
                    penumbraSum += error;
                    hardPenumbraSum += std::fabs((litDrawn ? 1.0 : 0.0) - soft[i]);
                    ++f.PenumbraPixels;
                }
                if (soft[i] <= 0.0f)
                    ++f.UmbraPixels;
            }
        }
        f.HardDisagreement = floorPixels > 0 ? double(disagree) / floorPixels : 1.0;
        f.SoftError = floorPixels > 0 ? softSum / floorPixels : 1.0;
        f.PenumbraError = f.PenumbraPixels > 0 ? penumbraSum / f.PenumbraPixels : 0.0;
        f.HardPenumbraError = f.PenumbraPixels > 0 ? hardPenumbraSum / f.PenumbraPixels : 0.0;
        if (const char* dump = std::getenv("KORVO_DUMP")) {
            FILE* out = std::fopen(dump, "wb");
            std::fprintf(out, "P5 %d %d 255\n", 2 * Width, Height);
            for (int y = Height - 1; y >= 0; --y)
                for (int x = 0; x < 2 * Width; ++x) {
                    const int i = y * Width + (x % Width);
                    const float v = x < Width ? frame.Soft[i] : soft[i];
                    std::fputc(static_cast<int>(std::max(0.0f, std::min(1.0f, v)) * 255), out);
                }
            std::fclose(out);
        }
        return f;
    }

    static void Report(const char* scene, const Figures& f)
    {
        std::printf("%s: hard disagreement %.4f%%, soft MAE %.4f, penumbra MAE %.4f "
                    "(hard answer %.4f) over %d penumbra and %d umbra pixels\n",
                    scene, 100.0 * f.HardDisagreement, f.SoftError, f.PenumbraError,
                    f.HardPenumbraError, f.PenumbraPixels, f.UmbraPixels);
    }

    // Bounds a little above what llvmpipe gives; the wedges must do far better than the
    // hard answer inside the penumbrae.
    static void ExpectSoftBounds(const Figures& f)
    {
        EXPECT_LT(f.SoftError, 0.01);
        EXPECT_LT(f.PenumbraError, 0.04);
        EXPECT_LT(f.PenumbraError, 0.25 * f.HardPenumbraError);
    }

    // One context for the whole program: opening a display per test is slow and, with
    // many programs on one server, not always granted.
    static void SetUpTestSuite() { shared = new GLHarness; }
    static void TearDownTestSuite()
    {
        delete shared;
        shared = nullptr;
    }
    static GLHarness* shared;
    GLHarness& gl = *shared;
    Programs programs = {};
};

GLHarness* ShadowShaders::shared = nullptr;

TEST_F(ShadowShaders, BoxOverAFloor)
{
    const Figures f = Compare({Box(Vec3f(1, 1, 1), Vec3f(0, 2, 0))}, 0.6f, 8);
    Report("box", f);
    EXPECT_LT(f.HardDisagreement, 0.005);
    EXPECT_GT(f.PenumbraPixels, 100);
    ExpectSoftBounds(f);
}

TEST_F(ShadowShaders, SphereOverAFloor)
{
    const Figures f = Compare({Sphere(1.3f, 16, 10, Vec3f(-0.5f, 2.5f, 0.5f))}, 0.6f, 8);
    Report("sphere", f);
    EXPECT_LT(f.HardDisagreement, 0.005);
    EXPECT_GT(f.PenumbraPixels, 100);
    ExpectSoftBounds(f);
}

TEST_F(ShadowShaders, TwoOverlappingCasters)
{
    // Turned casters: the volumes and wedges are built in model space and the coverage
    // in world space.
    Mesh low = Box(Vec3f(1, 0.7f, 1), Vec3f(-1.2f, 1.5f, 0));
    low.Model = low.Model * Math::Mat4::RotationY(0.5f);
    Mesh high = Box(Vec3f(0.8f, 0.3f, 1.4f), Vec3f(0.3f, 4.0f, 0.6f));
    high.Model = high.Model * Math::Mat4::RotationX(0.3f) * Math::Mat4::RotationY(-0.4f);
    const Figures f = Compare({low, high}, 0.6f, 8);
    Report("two casters", f);
    EXPECT_LT(f.HardDisagreement, 0.005);
    EXPECT_GT(f.PenumbraPixels, 100);
    ExpectSoftBounds(f);
}

} // namespace
