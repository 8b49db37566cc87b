// The plug-in's table of embroidery applications as JSON, for the scripts
// and the build that install the stand-in under the applications' names or
// describe them: an array of {index, registryKey, executable, displayName}.
#pragma once

#include <string>

namespace tavrel::embroidery_standin {

std::string ApplicationsJson();

}  // namespace tavrel::embroidery_standin
