#include "render/PassProfiler.h"

#include <GL/glew.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace Korvo {

namespace {

double Seconds()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

enum { TimeQuery, SamplesQuery, PrimitivesQuery, FragmentsQuery };

} // namespace

PassProfiler::PassProfiler(bool queries)
{
    if (!queries)
        return;
    Timer = GLEW_ARB_timer_query || GLEW_VERSION_3_3;
    Statistics = GLEW_ARB_pipeline_statistics_query;
    Samples = GLEW_VERSION_1_5;
    glGenQueries(4, Queries);
}

PassProfiler::~PassProfiler()
{
    if (Queries[0] != 0)
        glDeleteQueries(4, Queries);
}

void PassProfiler::DiscardRasterOf(std::vector<std::string> names)
{
    if (GLEW_VERSION_3_0 || GLEW_EXT_transform_feedback)
        Discarded = std::move(names);
}

void PassProfiler::Begin(const char* name)
{
    End();
    int index = 0;
    while (index < static_cast<int>(Passes.size()) && Passes[index].Name != name)
        ++index;
    if (index == static_cast<int>(Passes.size())) {
        Passes.emplace_back();
        Passes.back().Name = name;
    }
    Running = index;
    Discarding = std::find(Discarded.begin(), Discarded.end(), name) != Discarded.end();
    // The wall time between glFinish calls is what the pass costs on any driver. A timer
    // query can miss it: llvmpipe rasterizes a target's draws when the target changes or
    // is finished, so passes that draw into the same target report almost nothing.
    glFinish();
    StartSeconds = Seconds();
    if (Timer)
        glBeginQuery(GL_TIME_ELAPSED, Queries[TimeQuery]);
    if (Samples)
        glBeginQuery(GL_SAMPLES_PASSED, Queries[SamplesQuery]);
    if (Statistics) {
        glBeginQuery(GL_PRIMITIVES_SUBMITTED_ARB, Queries[PrimitivesQuery]);
        glBeginQuery(GL_FRAGMENT_SHADER_INVOCATIONS_ARB, Queries[FragmentsQuery]);
    }
    if (Discarding)
        glEnable(GL_RASTERIZER_DISCARD);
}

void PassProfiler::EndFrame() { End(); }

void PassProfiler::End()
{
    if (Running < 0)
        return;
    Pass& pass = Passes[Running];
    Running = -1;
    ++pass.Runs;
    if (Discarding)
        glDisable(GL_RASTERIZER_DISCARD);
    Discarding = false;
    if (Timer)
        glEndQuery(GL_TIME_ELAPSED);
    glFinish();
    pass.Milliseconds += 1000.0 * (Seconds() - StartSeconds);
    if (Samples)
        glEndQuery(GL_SAMPLES_PASSED);
    if (Statistics) {
        glEndQuery(GL_PRIMITIVES_SUBMITTED_ARB);
        glEndQuery(GL_FRAGMENT_SHADER_INVOCATIONS_ARB);
    }
    // Read at once: the wait costs frame time, not the pass's own figures.
    GLuint64 value = 0;
    if (Timer) {
        glGetQueryObjectui64v(Queries[TimeQuery], GL_QUERY_RESULT, &value);
        pass.TimerMilliseconds += static_cast<double>(value) * 1e-6;
    }
    if (Samples) {
        glGetQueryObjectui64v(Queries[SamplesQuery], GL_QUERY_RESULT, &value);
        pass.SamplesPassed += value;
    }
    if (Statistics) {
        glGetQueryObjectui64v(Queries[PrimitivesQuery], GL_QUERY_RESULT, &value);
        pass.Primitives += value;
        glGetQueryObjectui64v(Queries[FragmentsQuery], GL_QUERY_RESULT, &value);
        pass.FragmentInvocations += value;
    }
}

std::string PassProfiler::Table(int frames) const
{
    const double n = frames > 0 ? frames : 1;
    std::string table = "| pass | runs/frame | ms/frame | timer ms/frame | primitives/frame | "
                        "fragment shaders/frame | samples passed/frame |\n"
                        "|---|---|---|---|---|---|---|\n";
    char line[256];
    double total = 0.0;
    for (const Pass& p : Passes) {
        total += p.Milliseconds;
        char timer[32] = "-";
        if (Timer)
            std::snprintf(timer, sizeof(timer), "%.2f", p.TimerMilliseconds / n);
        std::snprintf(line, sizeof(line), "| %s | %.1f | %.2f | %s | %s | %s | %s |\n",
                      p.Name.c_str(), p.Runs / n, p.Milliseconds / n, timer,
                      Statistics ? std::to_string(static_cast<uint64_t>(p.Primitives / n)).c_str() : "-",
                      Statistics ? std::to_string(static_cast<uint64_t>(p.FragmentInvocations / n)).c_str() : "-",
                      Samples ? std::to_string(static_cast<uint64_t>(p.SamplesPassed / n)).c_str() : "-");
        table += line;
    }
    std::snprintf(line, sizeof(line), "| all passes | | %.2f | | | | |\n", total / n);
    return table + line;
}

} // namespace Korvo
