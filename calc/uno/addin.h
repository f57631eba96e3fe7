// The add-in object and the component's entry points (component.cpp).
#pragma once

#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/Sequence.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <rtl/ustring.hxx>

namespace decimora::calc {

com::sun::star::uno::Sequence<rtl::OUString> AddInServiceNames();
com::sun::star::uno::Reference<com::sun::star::uno::XInterface> CreateAddIn(
    const com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext>& context);

}  // namespace decimora::calc
