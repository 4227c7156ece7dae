#include "fiscal/RegistrarVersion.h"

namespace quorvex::fiscal {

bool keepsReceiptCopies(const std::string& firstDiagnosticField)
{
    for (const char* version : {"5.00", "4.00", "4.01"})
        if (firstDiagnosticField.find(version) != std::string::npos)
            return true;
    return false;
}

} // namespace quorvex::fiscal
