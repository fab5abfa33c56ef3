# distutils: language = c++
# The extension behind the package `tavo`: every wrapper class, built from
# one .pxi file per part. The package's modules take their classes from it.
cimport cython
from libc.stdint cimport int64_t
from libcpp cimport bool
from libcpp.memory cimport shared_ptr
from std_optional cimport optional, nullopt
from libcpp.pair cimport pair
from libcpp.string cimport string
from libcpp.vector cimport vector

from value_api cimport *
from cards_api cimport *
from collections_api cimport *
from holders_api cimport *
from platform_api cimport *
from manager_api cimport *

include "environment.pxi"
include "conversions.pxi"
include "card_data.pxi"
include "karteikarte.pxi"
include "holders.pxi"
include "shelf.pxi"
include "collections.pxi"
include "analyzer.pxi"
include "platform.pxi"
include "manager_attributes.pxi"
include "manager.pxi"
include "module.pxi"
