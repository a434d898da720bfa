#pragma once

#include "tools/contentgen/TriMesh.h"

#include <string>

namespace Content {

// What the shadow code demands of a caster, checked the strict way: after joining
// positions closer than the weld distance, every directed edge must meet exactly one
// reversed partner and no other copy of itself, and no triangle may collapse. A mesh that
// passes finds a unique neighbour across every edge with either matching rule.
struct ClosureReport {
    int OpenEdges = 0;       // directed edges with no reversed partner
    int CrowdedEdges = 0;    // directed edges used more than once, or with several partners
    int Degenerate = 0;      // triangles whose corners weld together
    std::string FirstProblem;
    bool Closed() const { return OpenEdges == 0 && CrowdedEdges == 0 && Degenerate == 0; }
};

ClosureReport CheckClosed(const TriMesh& mesh, double weld = 0.05);

// Volume enclosed by a closed mesh; positive when the triangles face outward.
double SignedVolume(const TriMesh& mesh);

} // namespace Content
