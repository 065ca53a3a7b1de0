# Turns the program's executable target into Velmora.app: the bundle's Info.plist, its name,
# and the entitlements that signing uses (see the README for signing and notarising).
function(velmora_make_mac_bundle target)
    set_target_properties(${target} PROPERTIES
        MACOSX_BUNDLE TRUE
        OUTPUT_NAME Velmora
        MACOSX_BUNDLE_INFO_PLIST ${CMAKE_SOURCE_DIR}/packaging/macos/Info.plist.in
        XCODE_ATTRIBUTE_CODE_SIGN_ENTITLEMENTS ${CMAKE_SOURCE_DIR}/packaging/macos/Velmora.entitlements
        XCODE_ATTRIBUTE_ENABLE_HARDENED_RUNTIME YES)
endfunction()
