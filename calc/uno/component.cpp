// The shared library's entry points: the factory of every implementation it
// holds, as the office's shared-library loader asks for them.

#include <cppuhelper/factory.hxx>
#include <cppuhelper/implementationentry.hxx>
#include <uno/lbnames.h>

#include "calc/addin_rows.h"
#include "calc/uno/addin.h"
#include "calc/uno/windows.h"

namespace {

rtl::OUString AddInImplementationName() {
  return rtl::OUString::createFromAscii(decimora::calc::kImplementationName.data());
}
rtl::OUString CommandsImplementationName() {
  return rtl::OUString::createFromAscii(decimora::calc::kCommandsImplementationName.data());
}

const cppu::ImplementationEntry kEntries[] = {
    {decimora::calc::CreateAddIn, AddInImplementationName, decimora::calc::AddInServiceNames,
     cppu::createSingleComponentFactory, nullptr, 0},
    {decimora::calc::CreateCommands, CommandsImplementationName, decimora::calc::CommandsServiceNames,
     cppu::createSingleComponentFactory, nullptr, 0},
    {nullptr, nullptr, nullptr, nullptr, nullptr, 0},
};

}  // namespace

extern "C" SAL_DLLPUBLIC_EXPORT void* component_getFactory(const char* implementation_name, void* service_manager,
                                                           void* registry_key) {
  return cppu::component_getFactoryHelper(implementation_name, service_manager, registry_key, kEntries);
}

extern "C" SAL_DLLPUBLIC_EXPORT void component_getImplementationEnvironment(const char** env_type_name,
                                                                           uno_Environment**) {
  *env_type_name = CPPU_CURRENT_LANGUAGE_BINDING_NAME;
}
