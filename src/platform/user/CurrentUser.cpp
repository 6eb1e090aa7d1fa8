#include "platform/user/CurrentUser.h"
