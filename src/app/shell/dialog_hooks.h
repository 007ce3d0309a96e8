#pragma once
// Plugs the dialogs of the pool, the application assignment and the settings
// sheets into the format tree's commands "分配软件", "加载", "(&S)保存", "格式"
// and "&默认".
class CQVApp;
class CQVViewTree;
#include <cstdint>

// Call once at start-up; the application (for its pool and profile) must
// outlive every tree.
void InstallDialogHooks(CQVApp& app);

// The mark of a string item while its applications are being assigned (the
// document still holds the old assignment): text with or without applications.
void ShowApplicationMark(CQVViewTree& tree, std::int32_t id, bool hasApplications);
