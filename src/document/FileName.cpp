// The caption's file name, by the path rule of rules/PathComponent.h.
#include "rules/PathComponent.h"
#include "view/HexView.h"

std::string CHexView::FileNameFromPath(const std::string& path) { return LastPathComponent(path); }
