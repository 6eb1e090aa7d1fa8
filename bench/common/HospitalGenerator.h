#pragma once

#include "common/HospitalScale.h"

namespace db {
class EmbeddedConnection;
}

namespace bench {

// Fills a database that holds only the schema and procedures with a hospital's worth of data,
// through the engine, and notes in out what it made (everything but the folder and the time).
void fillHospitalScale(db::EmbeddedConnection &connection, HospitalScale &out);

} // namespace bench
