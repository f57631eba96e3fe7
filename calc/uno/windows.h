// The windows of the add-in inside Calc and the protocol handler of the
// menu's commands (windows.cpp).
#pragma once

#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/Sequence.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <rtl/ustring.hxx>

#include <string_view>

namespace decimora::calc {

inline constexpr std::string_view kCommandsImplementationName = "org.decimora.CommandsImpl";
inline constexpr std::string_view kExtensionId = "org.decimora.calc";

// Keeps the office's context for the windows and lets dcmABOUT open the
// About window (after the calculation that asked for it).
void SetWindowsContext(const com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext>& context);

com::sun::star::uno::Sequence<rtl::OUString> CommandsServiceNames();
com::sun::star::uno::Reference<com::sun::star::uno::XInterface> CreateCommands(
    const com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext>& context);

}  // namespace decimora::calc
