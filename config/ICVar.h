#pragma once

#include "app/IObject.h"
#include "config/CVarDesc.h"

#include <cstdint>
#include <string>

// A configuration variable: a global object with a name, a type, a default, a range and
// category flags, registered with the ConfigSystem when it is built.
class ICVar : public Sys::NonCopyable {
public:
    // Type codes; the configuration file names them with the keywords of GetTypeKeyword.
    enum Type : int32_t { TypeBool = 0, TypeInt = 1, TypeFloat = 2, TypeString = 3 };

    // Category flags. Every variable carries FlagArchive.
    enum Flag : uint32_t {
        FlagRender = 0x04,  // r_
        FlagGui = 0x20,     // gui_
        FlagDemo = 0x40,    // demo_
        FlagArchive = 0x100,
    };

    ~ICVar() override = default;

    virtual const std::string& GetName() const = 0;
    virtual int32_t GetType() const = 0;
    virtual uint32_t GetFlags() const = 0;
    virtual void GetDesc(CVarDesc& desc) const = 0;
    // Takes the value from text when it is valid for the type (clamped into the range) and
    // returns true; anything else is ignored and returns false.
    virtual bool SetFromString(const std::string& text) = 0;
    virtual void Reset() = 0;

    // "bool", "int", "float", "string"; null for other codes.
    static const char* GetTypeKeyword(int32_t type);
};
