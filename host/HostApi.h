// The host application's object model as the plug-in sees it: automation
// interfaces reached from the application object, each operation returning
// an HRESULT and its result through the last argument. The stand-in host
// implements them; the plug-in calls them directly, holding what they return
// in owning references (host/ComPtr.h) and turning a failure into an error
// with host/HostError.h.
#pragma once

#include <cstdint>

#include "platform/Com.h"

namespace tavrel::host {

struct IHostDocuments;
struct IHostDocument;
struct IHostPage;
struct IHostShapes;
struct IHostSelection;
struct IHostWindow;
struct IHostCommandBars;
struct IHostCommandBar;
struct IHostControls;
struct IHostControl;

// Export filter code of enhanced metafiles, and the export ranges.
constexpr LONG kFilterEmf = 1300;
constexpr LONG kRangeAllOnPage = 1;
constexpr LONG kRangeSelection = 2;

// Events delivered to a subscribed sink through IDispatch::Invoke.
constexpr DISPID kEventStateChanged = 17;
constexpr DISPID kEventCommand = 20;
constexpr DISPID kEventQueryCommandState = 21;

struct IHostApplication : IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_Documents(IHostDocuments** documents) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ActiveDocument(IHostDocument** document) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ActivePage(IHostPage** page) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Selection(IHostSelection** selection) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_MainWindow(IHostWindow** window) = 0;
  // The host's folder, ending in a separator.
  virtual HRESULT STDMETHODCALLTYPE get_HostFolder(BSTR* path) = 0;
  // The folder for settings files, without a trailing separator.
  virtual HRESULT STDMETHODCALLTYPE get_SettingsFolder(BSTR* path) = 0;
  virtual HRESULT STDMETHODCALLTYPE AddPluginCommand(BSTR name, BSTR caption, BSTR tooltip,
                                                     VARIANT_BOOL* added) = 0;
  virtual HRESULT STDMETHODCALLTYPE RemovePluginCommand(BSTR name, VARIANT_BOOL* removed) = 0;
  virtual HRESULT STDMETHODCALLTYPE AdviseEvents(IDispatch* sink, LONG* cookie) = 0;
  virtual HRESULT STDMETHODCALLTYPE UnadviseEvents(LONG cookie) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CommandBars(IHostCommandBars** bars) = 0;
};

struct IHostDocuments : IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_Count(LONG* count) = 0;
};

struct IHostDocument : IDispatch {
  // Writes the document (range 1) or its selection (range 2) to a file in
  // the format of the filter; `status` is 0 on plain success.
  virtual HRESULT STDMETHODCALLTYPE ExportToFile(BSTR path, LONG filter, LONG range, LONG reserved1,
                                                 LONG reserved2, LONG* status) = 0;
};

struct IHostPage : IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_Shapes(IHostShapes** shapes) = 0;
};

struct IHostShapes : IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_Count(LONG* count) = 0;
};

struct IHostSelection : IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_Shapes(IHostShapes** shapes) = 0;
};

struct IHostWindow : IDispatch {
  // The native window handle (an HWND on Windows).
  virtual HRESULT STDMETHODCALLTYPE get_Handle(intptr_t* handle) = 0;
};

struct IHostCommandBars : IDispatch {
  // `index` is a bar name as a string variant.
  virtual HRESULT STDMETHODCALLTYPE get_Item(VARIANT index, IHostCommandBar** bar) = 0;
};

struct IHostCommandBar : IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_Controls(IHostControls** controls) = 0;
};

struct IHostControls : IDispatch {
  virtual HRESULT STDMETHODCALLTYPE AddCommandButton(BSTR buttonId, BSTR command, LONG position,
                                                     VARIANT_BOOL temporary, IHostControl** button) = 0;
};

struct IHostControl : IDispatch {
  virtual HRESULT STDMETHODCALLTYPE SetIconFromFile(BSTR bitmapPath) = 0;
};

// The plug-in interface the host drives: four notifications after IDispatch,
// whose Invoke receives the events.
struct IVGAppPlugin : IDispatch {
  virtual HRESULT STDMETHODCALLTYPE OnLoad(IHostApplication* application) = 0;
  virtual HRESULT STDMETHODCALLTYPE StartSession() = 0;
  virtual HRESULT STDMETHODCALLTYPE StopSession() = 0;
  virtual HRESULT STDMETHODCALLTYPE OnUnload() = 0;
};

// Interface identifiers.
inline const IID IID_IVGAppPlugin = {
    0xB0580005, 0x9AA4, 0x44FD, {0x95, 0x47, 0x4F, 0x91, 0xEB, 0x75, 0x7A, 0xC4}};
inline const IID IID_IHostApplication = {
    0x8263fc79, 0xc0fd, 0x4edd, {0xb6, 0x10, 0xda, 0xfe, 0xae, 0x1b, 0x89, 0x27}};
inline const IID IID_IHostDocuments = {
    0x04e087d2, 0x2623, 0x413f, {0xab, 0xd9, 0xd3, 0x6a, 0x9a, 0x83, 0x83, 0x25}};
inline const IID IID_IHostDocument = {
    0xa0b96eb8, 0x2cc9, 0x4427, {0x90, 0x2b, 0x61, 0x8a, 0x78, 0x70, 0x4a, 0x53}};
inline const IID IID_IHostPage = {
    0x05b7c300, 0xd9a1, 0x4bfc, {0xbd, 0x91, 0x3f, 0xf8, 0xe4, 0xbc, 0x0c, 0x16}};
inline const IID IID_IHostShapes = {
    0x8dcdb9e1, 0x5405, 0x4dc8, {0xaf, 0xd4, 0x66, 0x1a, 0x76, 0x8d, 0x4e, 0x81}};
inline const IID IID_IHostSelection = {
    0x36fa1978, 0x49ba, 0x4008, {0xa2, 0x19, 0x89, 0x7b, 0x8a, 0xc5, 0xd4, 0x8f}};
inline const IID IID_IHostWindow = {
    0xe163495c, 0x0f80, 0x45dc, {0x86, 0x45, 0x23, 0x11, 0x04, 0x0a, 0x8f, 0x92}};
inline const IID IID_IHostCommandBars = {
    0xd68aa9b6, 0xf280, 0x413b, {0xb0, 0xab, 0x5e, 0xd8, 0x91, 0xbf, 0xa8, 0x11}};
inline const IID IID_IHostCommandBar = {
    0xfe896533, 0xd74c, 0x4fb4, {0xb5, 0xb4, 0x9a, 0x5d, 0xb6, 0x99, 0x59, 0xf0}};
inline const IID IID_IHostControls = {
    0xc3632abf, 0xcc59, 0x412a, {0xb2, 0x94, 0x76, 0x8e, 0x85, 0x44, 0x6a, 0x49}};
inline const IID IID_IHostControl = {
    0xfbe823e5, 0xa98f, 0x4752, {0x92, 0xf0, 0xa3, 0x69, 0x1f, 0x84, 0xb1, 0x04}};

// The identifier of each interface, for the owning references and the
// error-information lookup.
template <class T>
const IID& InterfaceId();
template <>
inline const IID& InterfaceId<IHostApplication>() {
  return IID_IHostApplication;
}
template <>
inline const IID& InterfaceId<IHostDocuments>() {
  return IID_IHostDocuments;
}
template <>
inline const IID& InterfaceId<IHostDocument>() {
  return IID_IHostDocument;
}
template <>
inline const IID& InterfaceId<IHostPage>() {
  return IID_IHostPage;
}
template <>
inline const IID& InterfaceId<IHostShapes>() {
  return IID_IHostShapes;
}
template <>
inline const IID& InterfaceId<IHostSelection>() {
  return IID_IHostSelection;
}
template <>
inline const IID& InterfaceId<IHostWindow>() {
  return IID_IHostWindow;
}
template <>
inline const IID& InterfaceId<IHostCommandBars>() {
  return IID_IHostCommandBars;
}
template <>
inline const IID& InterfaceId<IHostCommandBar>() {
  return IID_IHostCommandBar;
}
template <>
inline const IID& InterfaceId<IHostControls>() {
  return IID_IHostControls;
}
template <>
inline const IID& InterfaceId<IHostControl>() {
  return IID_IHostControl;
}
template <>
inline const IID& InterfaceId<IVGAppPlugin>() {
  return IID_IVGAppPlugin;
}

}  // namespace tavrel::host
