#pragma once

#include "app/Exception.h"

namespace Sys {

// Misuse of an interface by program code: bad parameter, wrong call order.
class DeveloperException : public Exception {
public:
    enum ErrorCode {
        ERR_INVALID_ENUM = 0,
        ERR_INVALID_VALUE = 1,
        ERR_INVALID_PARAMETER = 2,
        ERR_INVALID_RAW_POINTER = 3,
        ERR_INVALID_CALL = 4,
        ERR_INVALID_THROW = 5,
        ERR_METHOD_NOT_IMPLEMENTED = 6,
    };

    // A null format leaves the text out in every form.
    DeveloperException(const char* format, ...) __attribute__((format(printf, 2, 3)));
    DeveloperException(ErrorCode code, const char* format, ...)
        __attribute__((format(printf, 3, 4)));
    DeveloperException(const IRTTIObject& who, ErrorCode code, const char* format, ...)
        __attribute__((format(printf, 4, 5)));
    DeveloperException(const IRTTIObject& who, const char* format, ...)
        __attribute__((format(printf, 3, 4)));
    DeveloperException(Where where, ErrorCode code, const char* format, ...)
        __attribute__((format(printf, 4, 5)));

    // "ERR_INVALID_ENUM" ... "ERR_METHOD_NOT_IMPLEMENTED"; empty for other values.
    static const char* GetCodeName(int code);
};

} // namespace Sys
