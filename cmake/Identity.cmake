# The product's identity, the one place it is written down. CMake (project version, bundle
# name, packages), moduleinfo.json, the factory and the preset writer all read it; the C++
# side gets it through the generated korvessaidentity.h.
set(KORVESSA_PRODUCT "Korvessa")
set(KORVESSA_VENDOR "Quillonix")
set(KORVESSA_VERSION "0.0.1.0")
set(KORVESSA_URL "https://www.quillonix.com")
# The factory's e-mail field carries the product and its version, not an address.
set(KORVESSA_EMAIL "${KORVESSA_PRODUCT} ${KORVESSA_VERSION}")
set(KORVESSA_CATEGORY "Audio Module Class")
set(KORVESSA_SUBCATEGORIES "Fx|Distortion")
set(KORVESSA_SDK_VERSION "VST 3.6.6")
# The class ID's four 32-bit words and the VST 2 unique ID ("3>7F").
set(KORVESSA_CID_WORDS FFFFFF88 FF904D5D FFFFFFEC FFFFFFA1)
set(KORVESSA_VST2_ID 859715398)
set(KORVESSA_LICENSE "GPL-3.0-or-later")

# The class ID's text form: the four words in hex, the same on every platform.
string(REPLACE ";" "" KORVESSA_CID "${KORVESSA_CID_WORDS}")
list(GET KORVESSA_CID_WORDS 0 KORVESSA_CID_WORD1)
list(GET KORVESSA_CID_WORDS 1 KORVESSA_CID_WORD2)
list(GET KORVESSA_CID_WORDS 2 KORVESSA_CID_WORD3)
list(GET KORVESSA_CID_WORDS 3 KORVESSA_CID_WORD4)
# moduleinfo.json lists the subcategories one by one.
string(REPLACE "|" "\",\n        \"" KORVESSA_SUBCATEGORY_LIST "${KORVESSA_SUBCATEGORIES}")
