#pragma once

// The schema of a settings database and the default configuration rows of a
// profile.

#include <cstddef>

// The statements that create a new database, in the order they run.
extern const char* const kSchemaStatements[];
extern const size_t kSchemaStatementCount;

struct DefaultConfigRow {
    const char* key;
    const char* value;
};

// The configuration rows every new profile starts with, in insertion order.
extern const DefaultConfigRow kDefaultConfigRows[];
extern const size_t kDefaultConfigRowCount;
