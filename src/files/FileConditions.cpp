#include "files/FileConditions.h"

namespace files {
namespace {

FileConditions g_programConditions;
FileConditions* g_conditions = &g_programConditions;

}  // namespace

FileConditions& CurrentConditions() { return *g_conditions; }

void SetFileConditions(FileConditions* conditions) {
    g_conditions = conditions ? conditions : &g_programConditions;
}

}  // namespace files
