#pragma once
// The statistics work tables as the schema creates them, derived from their descriptions.

#include "db/schema.h"

#include <vector>

namespace stats {

std::vector<schema::Table> workTableSchemas();

}  // namespace stats
