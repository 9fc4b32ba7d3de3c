#include "FormStreaming.h"

#include <cfloat>
#include <fstream>
#include <map>
#include <sstream>

#include "Controls.h"

namespace {

struct TFormClassInfo {
  std::vector<TPublishedField> Fields;
  std::vector<TPublishedMethod> Methods;
};

std::map<const TMetaClass*, TFormClassInfo>& FormClasses() {
  static std::map<const TMetaClass*, TFormClassInfo> classes;
  return classes;
}

// The first entry of a class's list, or of its ancestors', that Match accepts.
template <typename T, typename Match>
const T* FindPublished(const TMetaClass& Class, std::vector<T> TFormClassInfo::*List, Match match) {
  for (const TMetaClass* c = &Class; c; c = c->Parent) {
    auto it = FormClasses().find(c);
    if (it == FormClasses().end()) continue;
    for (const T& entry : it->second.*List)
      if (match(entry)) return &entry;
  }
  return nullptr;
}

const TPublishedField* FindPublishedField(const TMetaClass& Class, const AnsiString& Name) {
  return FindPublished(Class, &TFormClassInfo::Fields,
                       [&](const TPublishedField& f) { return _stricmp(f.Name, Name.c_str()) == 0; });
}

bool InheritsFromComponent(const TTypeInfo& type) {
  return type.ClassType && type.ClassType().InheritsFrom(TComponent::StaticClass());
}

std::u16string ToUnits(const AnsiString& s) {
  std::u16string out;
  for (char c : s) out += static_cast<char16_t>(static_cast<unsigned char>(c));
  return out;
}

}  // namespace

bool RegisterFormClass(const TMetaClass& Class, std::vector<TPublishedField> Fields,
                       std::vector<TPublishedMethod> Methods) {
  // As the form's own class, the classes of its component fields can be
  // created by name when its form file is read.
  for (const TPublishedField& f : Fields) RegisterClass(f.FieldClass());
  FormClasses()[&Class] = {std::move(Fields), std::move(Methods)};
  RegisterClass(Class);
  return true;
}

const TPublishedMethod* FindPublishedMethod(const TMetaClass& Class, const AnsiString& Name) {
  return FindPublished(Class, &TFormClassInfo::Methods,
                       [&](const TPublishedMethod& m) { return _stricmp(m.Name, Name.c_str()) == 0; });
}

const TPublishedMethod* FindPublishedMethodByCode(const TMetaClass& Class, void* Code) {
  return FindPublished(Class, &TFormClassInfo::Methods,
                       [&](const TPublishedMethod& m) { return m.Code == Code; });
}

// Writing.

namespace {

class ComponentWriter {
 public:
  explicit ComponentWriter(TComponent* root) : root_(root) {}

  TFormObject Object(TComponent* c) {
    TFormObject o;
    o.ClassName = c->ClassName();
    o.Name = c->Name();
    Properties(c, "", o.Properties);
    if (c == root_)
      for (int i = 0; i < c->ComponentCount(); ++i) {
        TControl* control = dynamic_cast<TControl*>(c->Components(i));
        if (!control || !control->Parent()) o.Children.push_back(Object(c->Components(i)));
      }
    if (TWinControl* w = dynamic_cast<TWinControl*>(c))
      for (int i = 0; i < w->ControlCount(); ++i)
        if (w->Controls(i)->Owner() == root_) o.Children.push_back(Object(w->Controls(i)));
    return o;
  }

 private:
  void Properties(TObject* instance, const std::string& prefix, std::vector<TFormProperty>& out) {
    for (const TPropInfo* p : GetPropList(instance->ClassType())) {
      if (!p->Stored) continue;
      TPropValue v;
      p->Get(instance, v);
      if (p->PropType->Kind == tkClass && !InheritsFromComponent(*p->PropType)) {
        if (v.Object) Properties(v.Object, prefix + p->Name + ".", out);
        continue;
      }
      TFormProperty prop;
      prop.Name = prefix + p->Name;
      if (Value(*p, v, prop.Value)) out.push_back(std::move(prop));
    }
  }

  // False when the value is not written: it equals the declared default,
  // it is empty, or it cannot be named.
  bool Value(const TPropInfo& p, const TPropValue& v, TFormValue& out) {
    const TTypeInfo& type = *p.PropType;
    bool ordinal = type.Kind == tkInteger || type.Kind == tkChar || type.Kind == tkEnumeration ||
                   type.Kind == tkSet;
    if (ordinal && p.Default && v.Ord == *p.Default) return false;
    switch (type.Kind) {
      case tkChar:
        out.Type = vaString;
        out.Str = std::u16string(1, static_cast<char16_t>(v.Ord));
        return true;
      case tkEnumeration:
        if (&type == &TypeInfo_bool) {
          out.Type = v.Ord ? vaTrue : vaFalse;
          return true;
        }
        [[fallthrough]];
      case tkInteger:  // by name where the value has one
        if (const char* name = GetEnumName(type, v.Ord)) return Ident(name, out);
        out.Type = vaInt64;
        out.Int = v.Ord;
        return true;
      case tkSet:
        out.Type = vaSet;
        for (std::int64_t i = type.CompType->MinValue; i <= type.CompType->MaxValue; ++i)
          if (v.Ord & (std::int64_t(1) << i)) out.Members.push_back(GetEnumName(*type.CompType, i));
        return true;
      case tkFloat:
        // A float has no declared default; zero is left out, as designers do.
        if (v.Float == 0) return false;
        out.Type = vaExtended;
        out.Float = v.Float;
        return true;
      case tkString:
        if (v.Str.empty()) return false;
        out.Type = vaString;
        out.Str = ToUnits(v.Str);
        return true;
      case tkClass: {
        TComponent* c = dynamic_cast<TComponent*>(v.Object);
        if (!c || c->Name().empty()) return false;
        std::string name = c->Name();
        if (c->Owner() && c->Owner() != root_) name = c->Owner()->Name() + "." + name;
        return Ident(name, out);
      }
      case tkMethod: {
        if (!v.Method.Code || v.Method.Data != root_) return false;
        const TPublishedMethod* m = FindPublishedMethodByCode(root_->ClassType(), v.Method.Code);
        return m && Ident(m->Name, out);
      }
    }
    return false;
  }

  static bool Ident(const std::string& name, TFormValue& out) {
    out.Type = vaIdent;
    out.Ident = name;
    return true;
  }

  TComponent* root_;
};

}  // namespace

TFormObject WriteComponentData(TComponent* Root) { return ComponentWriter(Root).Object(Root); }
std::string WriteComponentText(TComponent* Root) { return WriteTextForm(WriteComponentData(Root)); }
std::string WriteComponentBinary(TComponent* Root) {
  return WriteBinaryForm(WriteComponentData(Root));
}

// Reading.

namespace {

// A property value that is wrong for its property.
struct InvalidValue {};

class ComponentReader {
 public:
  explicit ComponentReader(TComponent* root) : root_(root) {}

  void Read(const TFormObject& o) {
    try {
      Begin(root_);
      if (!o.Name.empty()) root_->SetName(o.Name);
      Properties(root_, o);
      for (const TFormObject& child : o.Children) Child(child, root_);
      ResolveFixups();
    } catch (...) {
      Undo();
      throw;
    }
    for (TComponent* c : loading_) c->Loaded();
  }

 private:
  struct Fixup {
    TObject* Instance;
    const TPropInfo* Prop;
    std::string Target;
    std::string Context;  // "Panel1.PopupMenu"
    TFormPos Pos;
  };

  [[noreturn]] static void Fail(const std::string& what, const TFormPos& pos) {
    throw EReadError(what + pos.Text());
  }
  [[noreturn]] static void PropertyError(const std::string& context, const std::string& what,
                                         const TFormPos& pos) {
    Fail("Error reading " + context + ": " + what, pos);
  }

  void Begin(TComponent* c) {
    c->SetLoading(true);
    loading_.push_back(c);
  }

  void Child(const TFormObject& o, TComponent* parent) {
    TComponent* c = o.Flags & (ffInherited | ffInline) ? root_->FindComponent(o.Name) : nullptr;
    if (!c) c = Create(o, parent);
    Properties(c, o);
    for (const TFormObject& child : o.Children) Child(child, c);
  }

  TComponent* Create(const TFormObject& o, TComponent* parent) {
    const TMetaClass* cls = GetClass(o.ClassName);
    if (!cls || !cls->Create) Fail("Class " + o.ClassName + " not found", o.Pos);
    if (!o.Name.empty() && root_->FindComponent(o.Name))
      Fail("A component named " + o.Name + " already exists", o.Pos);
    TComponent* c = cls->Create(root_);
    created_.push_back(c);
    Begin(c);
    c->SetName(o.Name);
    TControl* control = dynamic_cast<TControl*>(c);
    TWinControl* parentControl = dynamic_cast<TWinControl*>(parent);
    if (control && parentControl) control->SetParent(parentControl);
    BindField(c, c);
    return c;
  }

  // Sets the root's published field named like the component.
  void BindField(TComponent* c, TComponent* value) {
    if (c->Name().empty()) return;
    const TPublishedField* f = FindPublishedField(root_->ClassType(), c->Name());
    if (!f) return;
    if (value && !c->InheritsFrom(f->FieldClass())) return;
    f->Set(root_, value);
  }

  void Properties(TComponent* c, const TFormObject& o) {
    for (const TFormProperty& p : o.Properties) {
      std::string context = c->Name() + "." + p.Name;
      try {
        Property(c, p, context);
      } catch (const InvalidValue&) {
        PropertyError(context, "Invalid property value", p.Pos);
      } catch (const EReadError&) {
        throw;
      } catch (const std::exception& e) {
        // A setter's own failure, told with where it happened.
        PropertyError(context, e.what(), p.Pos);
      }
    }
  }

  void Property(TComponent* c, const TFormProperty& p, const std::string& context) {
    TObject* target = c;
    const TPropInfo* info = nullptr;
    std::size_t start = 0;
    for (;;) {
      std::size_t dot = p.Name.find('.', start);
      info = GetPropInfo(target->ClassType(), p.Name.substr(start, dot - start));
      if (!info) PropertyError(context, "Property " + p.Name + " does not exist", p.Pos);
      if (dot == std::string::npos) break;
      TPropValue sub;
      if (info->PropType->Kind == tkClass) info->Get(target, sub);
      if (!sub.Object || InheritsFromComponent(*info->PropType))
        PropertyError(context, "Invalid property path", p.Pos);
      target = sub.Object;
      start = dot + 1;
    }
    SetValue(target, *info, p, context);
  }

  void SetValue(TObject* target, const TPropInfo& info, const TFormProperty& p,
                const std::string& context) {
    const TTypeInfo& type = *info.PropType;
    const TFormValue& v = p.Value;
    TPropValue value;
    switch (type.Kind) {
      case tkInteger:
        value.Ord = v.Type == vaIdent ? Named(type, v.Ident) : Integer(v);
        InRange(type, value.Ord);
        break;
      case tkChar:
        if (v.Type != vaString || v.Str.size() != 1) throw InvalidValue();
        value.Ord = v.Str[0];
        InRange(type, value.Ord);
        break;
      case tkEnumeration:
        if (&type == &TypeInfo_bool && (v.Type == vaTrue || v.Type == vaFalse))
          value.Ord = v.Type == vaTrue;
        else if (v.Type == vaIdent)
          value.Ord = Named(type, v.Ident);
        else
          throw InvalidValue();
        break;
      case tkSet:
        if (v.Type != vaSet) throw InvalidValue();
        for (const std::string& m : v.Members) value.Ord |= std::int64_t(1) << Named(*type.CompType, m);
        break;
      case tkFloat:
        value.Float = Float(v);
        if (type.FloatType == ftSingle && !(value.Float >= -FLT_MAX && value.Float <= FLT_MAX))
          throw InvalidValue();
        break;
      case tkString:
        if (v.Type != vaString && v.Type != vaUTF8String) throw InvalidValue();
        for (char16_t u : v.Str) {
          if (u > 0xFF) throw InvalidValue();
          value.Str += static_cast<char>(u);
        }
        break;
      case tkClass:
        if (!InheritsFromComponent(type)) throw InvalidValue();
        if (v.Type == vaIdent) {
          fixups_.push_back({target, &info, v.Ident, context, p.Pos});
          return;
        }
        if (v.Type != vaNil) throw InvalidValue();
        break;
      case tkMethod:
        if (v.Type == vaIdent) value.Method = Method(type, v.Ident);
        else if (v.Type != vaNil) throw InvalidValue();
        break;
    }
    info.Set(target, value);
  }

  static std::int64_t Integer(const TFormValue& v) {
    if (v.Type != vaInt64) throw InvalidValue();
    return v.Int;
  }
  static double Float(const TFormValue& v) {
    switch (v.Type) {
      case vaExtended: case vaSingle: case vaDouble: case vaDate:
        return v.Float;
      case vaInt64:
        return static_cast<double>(v.Int);
      default:
        throw InvalidValue();
    }
  }
  static std::int64_t Named(const TTypeInfo& type, const std::string& name) {
    std::optional<std::int64_t> v = GetEnumValue(type, name);
    if (!v) throw InvalidValue();
    return *v;
  }
  static void InRange(const TTypeInfo& type, std::int64_t v) {
    if (v < type.MinValue || v > type.MaxValue) throw InvalidValue();
  }

  TMethod Method(const TTypeInfo& type, const std::string& name) {
    const TPublishedMethod* m = FindPublishedMethod(root_->ClassType(), name);
    if (!m || *m->EventType != *type.MethodType) throw InvalidValue();
    return {m->Code, root_};
  }

  // Component references resolve once every component exists, so that a
  // reference may name a component read later.
  void ResolveFixups() {
    for (const Fixup& f : fixups_) {
      TComponent* target = _stricmp(f.Target.c_str(), root_->Name().c_str()) == 0
                               ? root_
                               : root_->FindComponent(f.Target);
      if (!target || !target->InheritsFrom(f.Prop->PropType->ClassType()))
        PropertyError(f.Context, "Invalid property value", f.Pos);
      TPropValue value;
      value.Object = target;
      f.Prop->Set(f.Instance, value);
    }
  }

  // Frees what this read created, newest first, and clears the fields that
  // pointed at it; the root leaves the loading state.
  void Undo() {
    for (auto it = created_.rbegin(); it != created_.rend(); ++it) {
      BindField(*it, nullptr);
      delete *it;
    }
    root_->SetLoading(false);
  }

  TComponent* root_;
  std::vector<TComponent*> created_;
  std::vector<TComponent*> loading_;
  std::vector<Fixup> fixups_;
};

}  // namespace

void ReadComponentTree(const TFormObject& Object, TComponent* Instance) {
  ComponentReader(Instance).Read(Object);
}

void ReadComponentData(const std::string& Data, TComponent* Instance) {
  ReadComponentTree(ReadForm(Data), Instance);
}

TComponent* ReadComponent(const std::string& Data, TComponent* Owner) {
  TFormObject o = ReadForm(Data);
  const TMetaClass* cls = GetClass(o.ClassName);
  if (!cls || !cls->Create) throw EReadError("Class " + o.ClassName + " not found" + o.Pos.Text());
  TComponent* root = cls->Create(Owner);
  try {
    ReadComponentTree(o, root);
  } catch (...) {
    delete root;
    throw;
  }
  return root;
}

void ReadComponentResFile(const AnsiString& FileName, TComponent* Instance) {
  std::ifstream file(FileName, std::ios::binary);
  if (!file) throw EReadError("Cannot open file \"" + FileName + "\"");
  std::ostringstream data;
  data << file.rdbuf();
  ReadComponentData(data.str(), Instance);
}

namespace {
bool FindFormResource(const AnsiString& ResName, std::string& Data) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC res = FindResourceA(module, ResName.c_str(), MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (!res) return false;
  HGLOBAL loaded = LoadResource(module, res);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return false;
  Data.assign(static_cast<const char*>(bytes), SizeofResource(module, res));
  return true;
}
}  // namespace

void ReadComponentRes(const AnsiString& ResName, TComponent* Instance) {
  std::string data;
  if (!FindFormResource(ResName, data)) throw EReadError("Resource " + ResName + " not found");
  ReadComponentData(data, Instance);
}

bool InitInheritedComponent(TComponent* Instance) {
  std::string data;
  if (!FindFormResource(Instance->ClassName(), data)) return false;
  ReadComponentData(data, Instance);
  return true;
}
