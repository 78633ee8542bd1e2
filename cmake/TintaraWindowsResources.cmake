# The resources that make a Windows program look finished (used by
# tintara_embed_version(... PROGRAM ...)):
# - the program's icon, IDI_ICON1, rasterised at build time from packaging/tintara.svg
#   at 16, 32, 48 and 256 pixels (rsvg-convert) and packed into one .ico (icotool):
#   32-bit images with alpha, the 256-pixel one kept as PNG, as Windows expects;
# - an application manifest: runs as the invoking user, declares Windows 10 and 11,
#   per-monitor (v2) DPI awareness as Qt sets it, common controls 6 and UTF-8 as the
#   active code page;
# - the StringFileInfo entries Explorer's Details tab and installers show.
include_guard(GLOBAL)

# The icon is made once, whichever program asks first, and shared by both.
function(tintara_program_icon out_ico)
  set(dir ${PROJECT_BINARY_DIR}/tintara_icon)
  set(ico ${dir}/tintara.ico)
  set(${out_ico} ${ico} PARENT_SCOPE)
  if(TARGET tintara_program_icon)
    return()
  endif()
  find_program(TINTARA_RSVG_CONVERT rsvg-convert NO_CMAKE_FIND_ROOT_PATH)
  find_program(TINTARA_ICOTOOL icotool NO_CMAKE_FIND_ROOT_PATH)
  if(NOT TINTARA_RSVG_CONVERT OR NOT TINTARA_ICOTOOL)
    message(FATAL_ERROR "the program's icon needs rsvg-convert (package librsvg2-bin) and "
                        "icotool (package icoutils)")
  endif()
  set(svg ${PROJECT_SOURCE_DIR}/packaging/tintara.svg)
  set(commands "")
  set(small "")
  foreach(size 16 32 48 256)
    set(png ${dir}/tintara-${size}.png)
    list(APPEND commands COMMAND ${TINTARA_RSVG_CONVERT} --width=${size} --height=${size}
                         --output=${png} ${svg})
    if(size EQUAL 256)
      set(large ${png})
    else()
      list(APPEND small ${png})
    endif()
  endforeach()
  add_custom_command(OUTPUT ${ico}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    ${commands}
    COMMAND ${TINTARA_ICOTOOL} --create --output=${ico} --bit-depth=32 ${small} --raw=${large}
    DEPENDS ${svg}
    COMMENT "Making the program's icon from packaging/tintara.svg"
    VERBATIM)
  add_custom_target(tintara_program_icon DEPENDS ${ico})
endfunction()

# Writes the manifest of `target` into `dir`; sets `out_res` to the resource lines of
# the icon and the manifest and `out_strings` to the extra StringFileInfo lines.
function(tintara_program_resources target description dir out_res out_strings)
  tintara_program_icon(ico)
  add_dependencies(${target} tintara_program_icon)

  set(manifest ${dir}/${target}.manifest)
  file(CONFIGURE OUTPUT ${manifest} @ONLY CONTENT [[
<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">
  <assemblyIdentity type="win32" name="Norvel.Tintara.@target@" version="@PROJECT_VERSION@"
                    processorArchitecture="amd64"/>
  <description>@description@</description>
  <trustInfo xmlns="urn:schemas-microsoft-com:asm.v3">
    <security>
      <requestedPrivileges>
        <requestedExecutionLevel level="asInvoker" uiAccess="false"/>
      </requestedPrivileges>
    </security>
  </trustInfo>
  <compatibility xmlns="urn:schemas-microsoft-com:compatibility.v1">
    <application>
      <!-- Windows 10 and Windows 11 (one identifier for both) -->
      <supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>
    </application>
  </compatibility>
  <application xmlns="urn:schemas-microsoft-com:asm.v3">
    <windowsSettings>
      <dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true/pm</dpiAware>
      <dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">PerMonitorV2</dpiAwareness>
      <activeCodePage xmlns="http://schemas.microsoft.com/SMI/2019/WindowsSettings">UTF-8</activeCodePage>
    </windowsSettings>
  </application>
  <dependency>
    <dependentAssembly>
      <assemblyIdentity type="win32" name="Microsoft.Windows.Common-Controls" version="6.0.0.0"
                        processorArchitecture="*" publicKeyToken="6595b64144ccf1df" language="*"/>
    </dependentAssembly>
  </dependency>
</assembly>
]])

  file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
  if(NOT licence MATCHES "(Copyright \\([cC]\\) [^\n]+)")
    message(FATAL_ERROR "LICENSE: no \"Copyright (c) ...\" line for LegalCopyright")
  endif()
  set(copyright "${CMAKE_MATCH_1}")

  # IDI_ICON1 is the name Qt looks for as the windows' default icon. Resource type 24
  # is RT_MANIFEST; id 1 the manifest a program is started with.
  set(${out_res} "IDI_ICON1 ICON \"${ico}\"\n1 24 \"${manifest}\"" PARENT_SCOPE)
  set(${out_strings} "\
      VALUE \"CompanyName\", \"Norvel Graphics\"
      VALUE \"FileDescription\", \"${description}\"
      VALUE \"InternalName\", \"${target}\"
      VALUE \"LegalCopyright\", \"${copyright}\"
      VALUE \"OriginalFilename\", \"${target}.exe\"
      VALUE \"ProductName\", \"Tintara Material Editor\"
" PARENT_SCOPE)
endfunction()
