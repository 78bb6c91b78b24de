# Shared by script/run and script/test: one configuration of the release tree,
# so that either command reuses what the other built.
release_options=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORPAD_WERROR=ON)
