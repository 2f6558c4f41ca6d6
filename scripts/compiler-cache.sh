# Sourced by the build scripts: compile through ccache when it is installed,
# with paths taken relative to the source folder, so that builds in other
# folders or clones of the same sources share the cache.
if command -v ccache >/dev/null 2>&1; then
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
  export CCACHE_BASEDIR="$top" CCACHE_NOHASHDIR=true
fi
