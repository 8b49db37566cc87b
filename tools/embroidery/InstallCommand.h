// The stand-in's commands that install and remove embroidery applications
// for the scripts (the scenario runner, the demo, the screenshot, the Wine
// benchmark, the installer test):
//   --install [--registry FILE] ROOT INDEX...
//       for each application INDEX of the plug-in's table: the folder
//       ROOT\<display name> with an Images folder and this program under the
//       application's file name, and AppPath of its registry key naming the
//       folder (the Windows build: the registry; natively: FILE, a ".reg"
//       file for tavrel-host --registry). Prints each folder on a line.
//   --uninstall [--registry FILE] INDEX...|all
//       removes the applications' registry keys (the files stay); "all":
//       those of every application in the table.
// Exit codes: 0 done, 1 a folder, a copy or the registry failed, 2 bad usage.
#pragma once

#include <string>
#include <vector>

namespace tavrel::embroidery_standin {

// Whether `arguments` (the program first) ask for one of these commands.
bool IsInstallCommand(const std::vector<std::string>& arguments);

int RunInstallCommand(const std::vector<std::string>& arguments);

}  // namespace tavrel::embroidery_standin
