#include "link/Session.h"

namespace quorvex::link {

Session& session()
{
    static Session s;
    return s;
}

}  // namespace quorvex::link
