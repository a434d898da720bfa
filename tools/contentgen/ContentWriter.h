#pragma once

#include "tools/contentgen/Character.h"
#include "tools/contentgen/Props.h"
#include "tools/contentgen/WalkCycle.h"
#include "tools/modelwriters/ModelWriter3DS.h"
#include "tools/modelwriters/ModelWriterMD5.h"

#include <string>
#include <vector>

namespace Content {

// Turns the generated data into the writers' records and the files under the models
// folder ("MediaData/Models"). Paths of model files are relative to that folder.
Media::ModelWriter3DS::Scene ToScene(const ModelFile& file);
Media::ModelWriterMD5::MeshFile ToMeshFile(const Character& character);
Media::ModelWriterMD5::AnimFile ToAnimFile(const Character& character, const WalkCycle& walk);

void WriteModelFile(const std::string& modelsFolder, const ModelFile& file);
void WriteCharacter(const std::string& modelsFolder, const Character& character,
                    const std::vector<WalkStyle>& walks);

} // namespace Content
