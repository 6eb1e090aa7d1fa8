#include "session/Session.h"

SessionContext Session;

void resetSession()
{
    Session = SessionContext();
}
