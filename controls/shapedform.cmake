# TBMShapedForm: an image control that gives its form the shape of its picture.
tintara_component(tintara_shapedform tintara_controls SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/bmshapedform.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bmshapedform.h
  ${CMAKE_CURRENT_LIST_DIR}/bmshapedform_image.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bmshapedform_image.h
  ${CMAKE_CURRENT_LIST_DIR}/bmshapedform_region.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bmshapedform_region.h)
