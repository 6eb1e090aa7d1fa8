#include "platform/db/EmbeddedConnection.h"
