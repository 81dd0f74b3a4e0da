// The source of a package's two Python extension modules. Both are this one unit, compiled
// twice: the build names the initialisation function of each through
// CORVANTHELIS_PYTHON_MODULE_INIT. The module publishes, as capsules without names, the create,
// destroy and conversion functions and the dispatch library's type-support records.

#include "emit/common.hpp"
#include "emit/emitters.hpp"
#include "naming.hpp"

namespace idlc {
namespace {

using naming::Deliverable;

void write_includes(CodeWriter& out, const Package& package) {
  out.line("#include <Python.h>");
  out.line();
  out.line("#include <stddef.h>");
  out.line("#include <stdint.h>");
  out.line();
  for (const Interface* interface : package.interfaces) {
    out.line("#include \"$header$\"", {{"header", naming::c_functions_header(*interface)}});
    out.line("#include \"$header$\"", {{"header", naming::dispatch_header(*interface)}});
    out.line("#include \"$header$\"", {{"header", naming::py_conversion_header(*interface)}});
  }
  out.line();
  out.lines(R"c(#ifndef CORVANTHELIS_PYTHON_MODULE_INIT
#error "the build names the module: define CORVANTHELIS_PYTHON_MODULE_INIT as PyInit_<module>"
#endif

// Adds one capsule without a name or destructor: the pointers are functions and static records
// of loaded libraries, which the capsule does not own. On failure the attributes added before
// stay on the module.
static int8_t add_capsule(PyObject * module, const char * name, void * pointer) {
  PyObject * capsule = PyCapsule_New(pointer, NULL, NULL);
  if (!capsule) {
    return -1;
  }
  const int rc = PyModule_AddObject(module, name, capsule);
  if (rc != 0) {
    Py_DECREF(capsule);
    return (int8_t)rc;
  }
  return 0;
}

)c");
}

// What a message's capsule holds: a function, or the dispatch library's record.
std::string entry_point_pointer(naming::PyEntryPoint entry_point, const Structure& structure,
                                const std::string& create, const std::string& destroy) {
  switch (entry_point) {
    case naming::PyEntryPoint::CreateRosMessage: return "(void *)&" + create;
    case naming::PyEntryPoint::DestroyRosMessage: return "(void *)&" + destroy;
    case naming::PyEntryPoint::ConvertFromPy: return "(void *)&" + naming::py_convert_from(structure);
    case naming::PyEntryPoint::ConvertToPy: return "(void *)&" + naming::py_convert_to(structure);
    case naming::PyEntryPoint::TypeSupport:
      return "(void *)" + naming::message_handle(Deliverable::TypesupportDispatch, structure) + "()";
  }
  return "";
}

void write_message(CodeWriter& out, const Structure& structure) {
  const std::string create = naming::private_symbol("create_ros_message", structure);
  const std::string destroy = naming::private_symbol("destroy_ros_message", structure);
  out.lines(R"c(static void * $create$(void) {
  return $c_create$();
}

static void $destroy$(void * ros_message) {
  $c_destroy$(ros_message);
}

)c",
            {{"create", create},
             {"destroy", destroy},
             {"c_create", naming::c_function(structure, "create")},
             {"c_destroy", naming::c_function(structure, "destroy")}});
  auto body = out.block("Py_EXPORTED_SYMBOL int8_t $register$(PyObject * module)",
                        {{"register", naming::py_register_message(structure)}});
  out.line("int8_t err;");
  for (naming::PyEntryPoint entry_point : naming::py_message_entry_points()) {
    out.line("err = add_capsule(module, \"$name$\", $pointer$);",
             {{"name", naming::py_message_capsule(entry_point, structure)},
              {"pointer", entry_point_pointer(entry_point, structure, create, destroy)}});
    auto failed = out.block("if (err)");
    out.line("return err;");
  }
  out.line("return 0;");
}

// A service's or an action's single capsule.
void write_single(CodeWriter& out, const std::string& register_function, const std::string& name,
                  const std::string& handle) {
  auto body = out.block("Py_EXPORTED_SYMBOL int8_t $register$(PyObject * module)",
                        {{"register", register_function}});
  out.line("return add_capsule(module, \"$name$\", (void *)$handle$());",
           {{"name", name}, {"handle", handle}});
}

// Messages first, then the services, then the actions; a service's capsule follows its
// request and response, an action's follows its eight structures.
std::vector<std::string> write_registrations(CodeWriter& out, const Package& package) {
  std::vector<std::string> order;
  const InterfaceKind groups[] = {InterfaceKind::Message, InterfaceKind::Service,
                                  InterfaceKind::Action};
  for (InterfaceKind kind : groups) {
    for (const Interface* interface : package.interfaces) {
      if (interface->kind != kind) continue;
      for (const Structure* structure : interface->structures) {
        write_message(out, *structure);
        out.line();
        order.push_back(naming::py_register_message(*structure));
        for (const Service& service : interface->services) {
          if (service.response != structure) continue;
          const std::string registration = naming::py_register_service(*interface, service);
          write_single(out, registration, naming::py_service_capsule(*interface, service),
                       naming::service_handle(Deliverable::TypesupportDispatch, *interface, service));
          out.line();
          order.push_back(registration);
        }
      }
      if (kind == InterfaceKind::Action) {
        const std::string registration = naming::py_register_action(*interface);
        write_single(out, registration, naming::py_action_capsule(*interface),
                     naming::action_handle(Deliverable::TypesupportDispatch, *interface));
        out.line();
        order.push_back(registration);
      }
    }
  }
  return order;
}

void write_module(CodeWriter& out, const Package& package, const std::vector<std::string>& order) {
  out.lines(R"c(static PyMethodDef methods[] = {
  {NULL, NULL, 0, NULL},
};

// Initialised once per process: no per-module state.
static struct PyModuleDef module_definition = {
  PyModuleDef_HEAD_INIT,
  "$name$",
  "$documentation$",
  -1,
  methods,
  NULL,
  NULL,
  NULL,
  NULL,
};

)c",
            {{"name", naming::py_module_definition_name(package.name)},
             {"documentation", naming::py_module_documentation(package.name)}});
  {
    auto table = out.block("static int8_t (* const registrations[])(PyObject *) =", {}, ";");
    for (const std::string& registration : order) out.line(registration + ",");
  }
  out.line();
  out.lines(R"c(PyMODINIT_FUNC CORVANTHELIS_PYTHON_MODULE_INIT(void) {
  PyObject * module = PyModule_Create2(&module_definition, PYTHON_API_VERSION);
  if (!module) {
    return NULL;
  }
  for (size_t i = 0; i < sizeof registrations / sizeof registrations[0]; ++i) {
    if (registrations[i](module) != 0) {
      Py_DECREF(module);
      return NULL;
    }
  }
  return module;
}
)c");
}

}  // namespace

FileSet emit_python_modules(const Package& package) {
  CodeWriter out;
  out.append(package_banner(package));
  out.line();
  write_includes(out, package);
  const std::vector<std::string> order = write_registrations(out, package);
  write_module(out, package, order);
  return {{naming::py_extension_source(package.name), out.text()}};
}

}  // namespace idlc
