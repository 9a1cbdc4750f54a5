# Fonts rasterised by FreeType with faces found through fontconfig (src/platform/freetype), for a
# back-end with no fonts of the window system's own. Both libraries are loaded with dlopen on
# first use, so only their headers are needed here: nothing links against them.
find_package(Freetype REQUIRED)
find_package(Fontconfig REQUIRED)
find_package(OpenGL REQUIRED COMPONENTS OpenGL)

add_library(znVelmora_freetype_objects OBJECT
  src/platform/freetype/ft_library.cpp
  src/platform/freetype/ft_match.cpp
  src/platform/freetype/ft_font.cpp
  src/platform/freetype/ft_glyphs.cpp
  src/platform/freetype/ft_lists.cpp)
set_target_properties(znVelmora_freetype_objects PROPERTIES ${ZN_LIBRARY_PROPERTIES})
target_include_directories(znVelmora_freetype_objects PUBLIC include src
  ${FREETYPE_INCLUDE_DIRS} ${Fontconfig_INCLUDE_DIRS})
target_compile_definitions(znVelmora_freetype_objects PRIVATE ZN_BUILDING_LIBRARY)
target_link_libraries(znVelmora_freetype_objects PUBLIC OpenGL::GL ${CMAKE_DL_LIBS})
zn_warnings(znVelmora_freetype_objects)
