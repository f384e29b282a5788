// One actual parameter of a script command: a variable, a literal text, or a position in the
// event's parameter list.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CScriptVariable;

// Held by value in a command's parameter array; member order is shared with the host.
class CCommandParam {
public:
    CCommandParam();                                    // an empty text parameter
    explicit CCommandParam(CScriptVariable* variable);  // variable parameter, not owned
    explicit CCommandParam(std::wstring text);          // text parameter
    explicit CCommandParam(int32_t index);              // index parameter
    CCommandParam(const CCommandParam& other);
    CCommandParam& operator=(const CCommandParam& other);
    virtual ~CCommandParam();

    // The variable this parameter stands for, following index parameters through `args`; none for
    // a text parameter, a position outside `args`, or a chain of positions that loops.
    CScriptVariable* Resolve(const std::vector<CCommandParam>& args) const;

    // The variable's name for a variable parameter, else the literal text (empty for an index).
    std::wstring GetText() const;
    bool IsIndex() const { return m_bIsIndex; }
    int32_t GetIndex() const { return m_nIndex; }

private:
    CScriptVariable* m_pVariable;
    std::wstring m_strText;
    bool m_bIsIndex;
    int32_t m_nIndex;
};
