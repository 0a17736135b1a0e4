#pragma once
// The 16-byte identifiers of the host's component model. Written in registry form in each comment;
// in memory the first group is a little-endian 32-bit number, the next two little-endian 16-bit
// numbers, the last eight bytes in the order written (the acfIID field layout gives exactly that).
// `AAXCompID_*` are class identifiers handed to the host's component factory, `IID_*` interface
// identifiers handed to QueryInterface and CreateComponent.

#include "aax_library/AAX_Types.h"

// {00000000-0000-0000-C000-000000000046} IACFUnknown: the root interface every component answers
inline constexpr acfIID IID_IACFUnknown = {
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// {00EEF015-7FD0-11D6-8485-00306542A024} the host's plug-in definition, asked of the host collection after
// registration
inline constexpr acfIID IID_IACFPluginDefinition = {
    0x00EEF015, 0x7FD0, 0x11D6, {0x84, 0x85, 0x00, 0x30, 0x65, 0x42, 0xA0, 0x24}};

// {382B6A96-7FD0-11D6-BCFE-00306542A024} the host's component factory
inline constexpr acfIID IID_IACFComponentFactory = {
    0x382B6A96, 0x7FD0, 0x11D6, {0xBC, 0xFE, 0x00, 0x30, 0x65, 0x42, 0xA0, 0x24}};

// {89882C2D-77BC-42EF-707B-7981B7BD0CCA} class: host collection
inline constexpr acfIID AAXCompID_AAXCollection = {
    0x89882C2D, 0x77BC, 0x42EF, {0x70, 0x7B, 0x79, 0x81, 0xB7, 0xBD, 0x0C, 0xCA}};

// {96D42C2D-EBBC-41DF-B1AB-9991A2EE0CCA} collection, first version
inline constexpr acfIID IID_IAAXCollectionV1 = {
    0x96D42C2D, 0xEBBC, 0x41DF, {0xB1, 0xAB, 0x99, 0x91, 0xA2, 0xEE, 0x0C, 0xCA}};

// {89872C2D-75BC-423F-401B-F9A1BAAD0CCA} class: host effect descriptor
inline constexpr acfIID AAXCompID_AAXEffectDescriptor = {
    0x89872C2D, 0x75BC, 0x423F, {0x40, 0x1B, 0xF9, 0xA1, 0xBA, 0xAD, 0x0C, 0xCA}};

// {96D42C2D-EBBC-41EF-D1CB-499442E40FDA} effect descriptor, first version
inline constexpr acfIID IID_IAAXEffectDescriptorV1 = {
    0x96D42C2D, 0xEBBC, 0x41EF, {0xD1, 0xCB, 0x49, 0x94, 0x42, 0xE4, 0x0F, 0xDA}};

// {41ECCC52-416B-4072-84BD-40B05210A74C} effect descriptor, second version
inline constexpr acfIID IID_IAAXEffectDescriptorV2 = {
    0x41ECCC52, 0x416B, 0x4072, {0x84, 0xBD, 0x40, 0xB0, 0x52, 0x10, 0xA7, 0x4C}};

// {94872C3D-95BC-413D-D0DB-D9B12AAD0CCA} class: host component descriptor
inline constexpr acfIID AAXCompID_AAXComponentDescriptor = {
    0x94872C3D, 0x95BC, 0x413D, {0xD0, 0xDB, 0xD9, 0xB1, 0x2A, 0xAD, 0x0C, 0xCA}};

// {96E42C2D-E2BC-51EF-61C7-48994AEB0CDA} component descriptor, first version
inline constexpr acfIID IID_IAAXComponentDescriptorV1 = {
    0x96E42C2D, 0xE2BC, 0x51EF, {0x61, 0xC7, 0x48, 0x99, 0x4A, 0xEB, 0x0C, 0xDA}};

// {1895259E-AAA9-4F0F-A985-149837B76F89} component descriptor, second version
inline constexpr acfIID IID_IAAXComponentDescriptorV2 = {
    0x1895259E, 0xAAA9, 0x4F0F, {0xA9, 0x85, 0x14, 0x98, 0x37, 0xB7, 0x6F, 0x89}};

// {A587AD3D-D53C-4ADC-D0DD-D9D12DDDDCDA} class: host property map
inline constexpr acfIID AAXCompID_AAXPropertyMap = {
    0xA587AD3D, 0xD53C, 0x4ADC, {0xD0, 0xDD, 0xD9, 0xD1, 0x2D, 0xDD, 0xDC, 0xDA}};

// {96EE2C2D-EECC-5EFF-E2D7-E849E3E2EEEE} property map, first version
inline constexpr acfIID IID_IAAXPropertyMapV1 = {
    0x96EE2C2D, 0xEECC, 0x5EFF, {0xE2, 0xD7, 0xE8, 0x49, 0xE3, 0xE2, 0xEE, 0xEE}};

// {7177DF80-7C9C-11E2-B92A-0800200C9A66} property map, second version
inline constexpr acfIID IID_IAAXPropertyMapV2 = {
    0x7177DF80, 0x7C9C, 0x11E2, {0xB9, 0x2A, 0x08, 0x00, 0x20, 0x0C, 0x9A, 0x66}};

// {88882C2D-EBBC-42EF-C0AB-8981B0BD0CCA} class: host services
inline constexpr acfIID AAXCompID_AAXHostServices = {
    0x88882C2D, 0xEBBC, 0x42EF, {0xC0, 0xAB, 0x89, 0x81, 0xB0, 0xBD, 0x0C, 0xCA}};

// {96D42C2D-EBBC-41EF-B0AB-9991A0ED0CCA} host services, first version
inline constexpr acfIID IID_IAAXHostServicesV1 = {
    0x96D42C2D, 0xEBBC, 0x41EF, {0xB0, 0xAB, 0x99, 0x91, 0xA0, 0xED, 0x0C, 0xCA}};

// {9D5E3E3D-52DC-5EFB-2018-DE1DE2E63F4E} controller, first version
inline constexpr acfIID IID_IAAXControllerV1 = {
    0x9D5E3E3D, 0x52DC, 0x5EFB, {0x20, 0x18, 0xDE, 0x1D, 0xE2, 0xE6, 0x3F, 0x4E}};

// {4C59AA0E-D7C0-4205-8B6C-32468D42D202} controller, second version
inline constexpr acfIID IID_IAAXControllerV2 = {
    0x4C59AA0E, 0xD7C0, 0x4205, {0x8B, 0x6C, 0x32, 0x46, 0x8D, 0x42, 0xD2, 0x02}};

// {5CEE4EF4-6337-4359-B63B-FE58DC36543A} transport, first version
inline constexpr acfIID IID_IAAXTransportV1 = {
    0x5CEE4EF4, 0x6337, 0x4359, {0xB6, 0x3B, 0xFE, 0x58, 0xDC, 0x36, 0x54, 0x3A}};

// {203CBD9F-982C-4FE6-A827-07480257AEC3} transport, second version
inline constexpr acfIID IID_IAAXTransportV2 = {
    0x203CBD9F, 0x982C, 0x4FE6, {0xA8, 0x27, 0x07, 0x48, 0x02, 0x57, 0xAE, 0xC3}};

// {9D5E3D3D-42DC-5EFA-2217-EEE2E8E53E2E} automation delegate, first version
inline constexpr acfIID IID_IAAXAutomationDelegateV1 = {
    0x9D5E3D3D, 0x42DC, 0x5EFA, {0x22, 0x17, 0xEE, 0xE2, 0xE8, 0xE5, 0x3E, 0x2E}};

// {22DA0BBC-D550-4D5E-8CC6-734483B8837F} view container, first version
inline constexpr acfIID IID_IAAXViewContainerV1 = {
    0x22DA0BBC, 0xD550, 0x4D5E, {0x8C, 0xC6, 0x73, 0x44, 0x83, 0xB8, 0x83, 0x7F}};

// {964E333D-334C-533F-C2C7-3834C3C23E3E} the module's data-model object, first version
inline constexpr acfIID IID_IAAXEffectParametersV1 = {
    0x964E333D, 0x334C, 0x533F, {0xC2, 0xC7, 0x38, 0x34, 0xC3, 0xC2, 0x3E, 0x3E}};

// {F1F47D06-308F-4CC5-9C7C-50A83F8AB813} the module's data-model object, second version
inline constexpr acfIID IID_IAAXEffectParametersV2 = {
    0xF1F47D06, 0x308F, 0x4CC5, {0x9C, 0x7C, 0x50, 0xA8, 0x3F, 0x8A, 0xB8, 0x13}};

// {964E323D-424C-5E1A-2227-282423222E1E} the module's GUI object
inline constexpr acfIID IID_IAAXEffectGUIV1 = {
    0x964E323D, 0x424C, 0x5E1A, {0x22, 0x27, 0x28, 0x24, 0x23, 0x22, 0x2E, 0x1E}};
