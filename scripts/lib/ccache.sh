# Shared by scripts/test and scripts/package: compilers run through ccache, whose cache lives
# in build/ccache of the checkout. Paths below the source folder are hashed as relative
# ones, so a build of the same sources in another folder finds the same entries.

ccache_cmake_args() {  # the configure arguments that put ccache in front of the compilers
  command -v ccache >/dev/null || return 0
  echo "-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
}

ccache_use() {  # <source folder>
  export CCACHE_DIR=${CCACHE_DIR:-$root/build/ccache}
  export CCACHE_BASEDIR=$1
  export CCACHE_NOHASHDIR=1
  export CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-2G}
}
