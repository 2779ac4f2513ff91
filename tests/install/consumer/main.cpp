// Uses the installed headers and library the way an application does.
#include <qxxml/qxxml.h>

#include <cstdio>

using namespace QxXmlLib10;

int main() {
    CBinaryData data;
    data.SetAsHexString(L"00AB7F");
    if (data.GetAsBase64() != L"AKt/") return 1;
    try {
        data.SetAsHexString(L"ABC");
        return 1;
    } catch (const CQxException& e) {
        if (e.GetMessageW() != L"Invalid length in hex string") return 1;
    }
    std::printf("ok\n");
    return 0;
}
