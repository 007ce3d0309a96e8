#pragma once
// Opens the "数据试验" window of the format a tree shows, and keeps it told of the format's
// changes.
class CQVViewTree;
class CWorkbenchWindow;

// Shows the format's window (made on first use, one per format window, closed with it).
CWorkbenchWindow* OpenWorkbench(CQVViewTree& tree);
