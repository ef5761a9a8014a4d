#include "app/program.h"

namespace kestrel {

std::string VersionText() {
    return std::to_string(KESTREL_VERSION_MAJOR) + "." + std::to_string(KESTREL_VERSION_MINOR) +
           "." + std::to_string(KESTREL_VERSION_PATCH);
}

Program::Program(Host& hostServices)
    : host(hostServices),
      form1(*this),
      dateMain(*this),
      aboutBox(*this),
      dialogState(*this),
      dialogCity(*this),
      dialogNonCity(*this),
      form2(*this),
      dateOvertime(*this),
      dialogVac(*this),
      dialogHeader(*this) {}

void Program::Start() {
    form1.Show();
}

}  // namespace kestrel
